// Runs the program itself, as a shell would, with a limit on its files' size.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#ifdef VELMORA_PROGRAM
namespace velmora {

struct ProgramRun {
  bool exited = false;  // false: ended by a signal
  int status = -1;      // the exit status, or the signal
  std::string output;   // standard output and error together
};

// Runs the program with `args`, its files limited to `limitBytes` (none when 0).
inline ProgramRun runProgram(const std::vector<std::string>& args, rlim_t limitBytes = 0) {
  int out[2];
  if (::pipe(out) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out[1], 1);
    ::dup2(out[1], 2);
    ::close(out[0]);
    ::close(out[1]);
    // As a shell leaves it: the signal's own action, whatever the test process set.
    std::signal(SIGXFSZ, SIG_DFL);
    if (limitBytes > 0) {
      rlimit limit{};
      ::getrlimit(RLIMIT_FSIZE, &limit);
      limit.rlim_cur = limitBytes;
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::vector<char*> argv{const_cast<char*>(VELMORA_PROGRAM)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(VELMORA_PROGRAM, argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  ProgramRun run;
  char buffer[4096];
  for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) run.output.append(buffer, n);
  ::close(out[0]);
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return run;
  run.exited = WIFEXITED(status);
  run.status = run.exited ? WEXITSTATUS(status) : WTERMSIG(status);
  return run;
}

}  // namespace velmora
#endif
