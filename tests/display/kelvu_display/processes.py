"""Every process a test starts, ended by its own id when the test ends."""
import os
import signal
import subprocess
import time


class Process:
    """One started process, its output in a log file of its own."""

    def __init__(self, name, args, cwd, env, log_folder, pass_fds=()):
        self.name = name
        self.args = [str(a) for a in args]
        self.log_path = os.path.join(log_folder, name + ".log")
        with open(self.log_path, "ab") as log:
            self.popen = subprocess.Popen(self.args, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                                          stdout=log, stderr=subprocess.STDOUT,
                                          pass_fds=pass_fds)
        self.pid = self.popen.pid

    def running(self):
        return self.popen.poll() is None

    def wait_exit(self, timeout):
        """The exit status, or None while it still runs at the deadline."""
        try:
            return self.popen.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def log(self):
        with open(self.log_path, "rb") as log:
            return log.read().decode("utf-8", "replace")

    def stop(self):
        """Ends the process if it still runs: politely, then for good."""
        if not self.running():
            return
        self.popen.send_signal(signal.SIGTERM)
        if self.wait_exit(5) is None:
            self.popen.kill()
            self.popen.wait(5)


class Processes:
    """The processes one test started, in order; stop_all ends them last
    first."""

    def __init__(self, log_folder):
        self.log_folder = log_folder
        self.started = []

    def start(self, name, args, cwd=None, env=None, pass_fds=()):
        process = Process(name, args, cwd, env, self.log_folder, pass_fds)
        self.started.append(process)
        return process

    def stop_all(self):
        for process in reversed(self.started):
            process.stop()


def alive(pid):
    """Whether the process runs (a finished one that nobody has reaped yet
    does not)."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except (OSError, IndexError):
        return False


def end_recorded_process(pid_file, command_name):
    """Ends a process that a program of ours started and whose id it wrote
    to pid_file (an exercise the runner started), only while that id is
    still the named command's."""
    try:
        with open(pid_file) as f:
            pid = int(f.read().split()[0])
        with open("/proc/%d/comm" % pid) as f:
            if f.read().strip() != command_name:
                return
        os.kill(pid, signal.SIGTERM)
    except (OSError, ValueError, IndexError):
        return
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline and alive(pid):
        time.sleep(0.02)
