#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "e2e/process.h"

extern char** environ;

namespace zirka::e2e {

namespace {

std::vector<char*> Pointers(const std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (const std::string& s : strings) out.push_back(const_cast<char*>(s.c_str()));
  out.push_back(nullptr);
  return out;
}

// In the child: wire up the files and directory, then become the program.
[[noreturn]] void BecomeChild(const ChildSpec& child, const std::vector<char*>& argv,
                              const std::vector<char*>& env) {
  const int in = open("/dev/null", O_RDONLY);
  const int out = open(child.stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int err = open(child.stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 ||
      dup2(err, 2) < 0 || chdir(child.cwd.c_str()) != 0) {
    _exit(127);
  }
  for (int fd : {in, out, err}) {
    if (fd > 2) close(fd);
  }
  if (child.closedStdout) close(1);
  // execvpe searches PATH of the new environment; keep to the one we run in.
  environ = env.data() == nullptr ? environ : const_cast<char**>(env.data());
  execvp(argv[0], argv.data());
  _exit(127);
}

}  // namespace

ChildEnd RunChild(const ChildSpec& child) {
  const std::vector<char*> argv = Pointers(child.argv);
  const std::vector<char*> env = Pointers(child.env);
  const pid_t pid = fork();
  if (pid < 0) return {};
  if (pid == 0) BecomeChild(child, argv, env);

  const auto start = std::chrono::steady_clock::now();
  const auto limit = child.killAfter ? std::min(*child.killAfter, child.timeout) : child.timeout;
  bool killed = false;
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(pid, &status, killed ? 0 : WNOHANG);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) return {};
    if (!killed && std::chrono::steady_clock::now() - start >= limit) {
      kill(pid, SIGKILL);
      killed = true;
      continue;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ChildEnd end;
  if (WIFEXITED(status)) {
    end.exitCode = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    end.signaled = true;
    end.exitCode = 128 + WTERMSIG(status);
  }
  return end;
}

std::vector<std::string> CurrentEnvironment() {
  std::vector<std::string> out;
  for (char** e = environ; *e != nullptr; ++e) out.emplace_back(*e);
  return out;
}

}  // namespace zirka::e2e
