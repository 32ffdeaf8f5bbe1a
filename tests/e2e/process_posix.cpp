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
[[noreturn]] void BecomeChild(const ChildSpec& spec, const std::vector<char*>& argv,
                              const std::vector<char*>& env) {
  const int in = open("/dev/null", O_RDONLY);
  const int out = open(spec.stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int err = open(spec.stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 ||
      dup2(err, 2) < 0 || chdir(spec.cwd.c_str()) != 0) {
    _exit(127);
  }
  for (int fd : {in, out, err}) {
    if (fd > 2) close(fd);
  }
  if (spec.closedStdout) close(1);
  // execvpe searches PATH of the new environment; keep to the one we run in.
  environ = env.data() == nullptr ? environ : const_cast<char**>(env.data());
  execvp(argv[0], argv.data());
  _exit(127);
}

}  // namespace

ChildEnd RunChild(const ChildSpec& spec) {
  const std::vector<char*> argv = Pointers(spec.argv);
  const std::vector<char*> env = Pointers(spec.env);
  const pid_t pid = fork();
  if (pid < 0) return {};
  if (pid == 0) BecomeChild(spec, argv, env);

  const auto start = std::chrono::steady_clock::now();
  const auto limit = spec.killAfter ? std::min(*spec.killAfter, spec.timeout) : spec.timeout;
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
