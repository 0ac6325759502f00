"""tolva sort beyond its buffer: runs spilled to temporary files and merged
give what the sort in memory gives; -k/-t, -z, -o, -c, --keep-rejected;
temporary files gone after signals and full disks; -o written in place."""

import os
import random
import resource
import signal
import stat
import subprocess
import sys

import pytest

from test_sort import random_versions


def spilling_input(seed, form):
    """Versions in lines of the form given, a few rejected, some longer than a
    read block, so that blocks and runs end inside lines."""
    rng = random.Random(seed)
    lines = []
    for version in random_versions(30_000, seed):
        if rng.random() < 0.002:
            version = "n" * rng.choice([3, 5000, 9000])
        lines.append(form.format(v=version, n=rng.randint(0, 9)) if rng.random() < 0.95
                     else rng.choice(["1.2.3!", "x"]))
    return lines


@pytest.mark.parametrize("flags, form", [
    ([], "{v}"),
    (["-r"], "{v}"),
    (["-u"], "{v}"),
    (["-r", "-u", "--keep-rejected", "--scheme=tolva"], "{v}"),
    (["-k", "1", "-t", ","], "{v},{n}"),
    (["-k", "2", "-t", ",", "-u"], "{n},{v}"),
    (["-k", "1", "--keep-rejected", "--scheme=tolva"], "  {v}\t{n}"),
    (["-z", "-k", "1", "-t", ","], "{v},\n{n}"),
])
def test_spilled_runs_give_the_sort_in_memory(tolva, write, tmp_path, flags, form):
    lines = spilling_input(len(flags), form)
    path = write("v.txt", ("\0" if "-z" in flags else "\n").join(lines).encode())
    temp = tmp_path / "temp"
    temp.mkdir()
    in_memory = tolva("sort", *flags, path)
    assert in_memory.returncode in (0, 1) and in_memory.stdout
    for more in (["-S", "64K", "-T", str(temp)], ["-S", "1M", "--parallel=4"], ["--parallel=1"]):
        result = tolva("sort", *flags, *more, path)
        assert (result.returncode, result.stderr) == (in_memory.returncode, in_memory.stderr)
        assert result.stdout == in_memory.stdout, more
    assert list(temp.iterdir()) == []


@pytest.mark.parametrize("flags, text, out, err", [
    (["-k", "2"], " a\t2.0 x\nb  1.0\n\tc 1.1\n", "b  1.0\n\tc 1.1\n a\t2.0 x\n", ""),
    (["-k", "2", "-t", ","], "a,2.0\n,1.0,\nb,\n", "b,\n,1.0,\na,2.0\n", ""),
    (["-k", "3", "-t", ","], "a,1.0\nb,c,1.0\n", "b,c,1.0\n", "tolva: <stdin>:1: no field 3\n"),
    (["-k", "2", "--keep-rejected"], "z 2\nonly\ny 1\nx\n", "y 1\nz 2\nonly\nx\n",
     "tolva: <stdin>:2: no field 2\ntolva: <stdin>:4: no field 2\n"),
    (["-z", "-r", "-k", "1", "-t", "\n"], "1.0\0002.0\n3\0", "2.0\n3\0001.0\0", ""),
    (["-z", "--scheme", "tolva"], "1.0\r\0", "", "<stdin>:1:4 ]"),
])
def test_fields_and_terminators(tolva, flags, text, out, err):
    result = tolva("sort", *flags, input=text.encode())
    assert result.stdout == out.encode()
    assert err in result.stderr.decode() and (result.returncode == 0) == (err == "")


@pytest.mark.parametrize("flags, text, status, err", [
    ([], "1.0\n1.0\n2.0\n", 0, ""),
    (["-u"], "1.0\n1.0\n2.0\n", 1, "<stdin>:2: disorder: 1.0\n"),
    (["--scheme", "tolva"], "1.0\nbad!\n0.9\n3\n", 1, "<stdin>:3: disorder: 0.9\n"),
    (["-r"], "2.0\n1.0\n1.0\n", 0, ""),
    (["-r"], "2.0\n1.0\n1.1\n", 1, "<stdin>:3: disorder: 1.1\n"),
    (["-k", "2", "-t", ":"], "b:1.0\na:1.1\n", 0, ""),
])
def test_check(tolva, flags, text, status, err):
    for check in ("-c", "--check"):
        result = tolva("sort", check, *flags, input=text.encode())
        assert (result.returncode, result.stdout) == (status, b"")
        assert result.stderr.decode().endswith(err)


@pytest.mark.parametrize("buffer", ["64K", "1G"])
def test_output_onto_an_input(tolva, write, tmp_path, buffer):
    lines = random_versions(20_000, 3)
    path = write("v.txt", "\n".join(lines).encode())
    expected = tolva("sort", path).stdout
    result = tolva("sort", "-S", buffer, "-T", str(tmp_path), "-o", path, path)
    assert (result.returncode, result.stdout, result.stderr) == (0, b"", b"")
    assert open(path, "rb").read() == expected
    assert os.listdir(tmp_path) == ["v.txt"]


@pytest.mark.parametrize("name, make, nobody", [
    ("nulldev", lambda p, f: os.mknod(p, stat.S_IFCHR | 0o666, os.makedev(1, 3)), False),
    ("fifo", lambda p, f: os.mkfifo(p), False),
    ("symlink", lambda p, f: os.symlink(f, p), False),
    ("hard link", lambda p, f: os.link(f, p), False),
    ("file", None, False),          # private: 0600
    ("file", None, True),           # root's, writable by all
    ("/dev/null", None, True),
])
def test_output_is_written_into_the_target(tolva_exe, tmp_path, name, make, nobody):
    root = os.geteuid() == 0
    prefix = (["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"]
              if nobody and root else [])
    if (name == "nulldev" and not root) or (
            prefix and subprocess.run([*prefix, tolva_exe, "-h"], capture_output=True).returncode):
        pytest.skip("needs root, and a user to run as unprivileged")
    file, place = tmp_path / "file", tmp_path / name
    file.write_bytes(b"what was there, longer than the output\n")
    file.chmod(0o666 if nobody else 0o600)
    if make:
        make(place, file)
    reader = name == "fifo" and subprocess.Popen(["timeout", "60", "cat", place],
                                                 stdout=subprocess.PIPE)
    before = os.lstat(place)
    # The folder is read-only; nobody reaches it through a descriptor it inherits.
    folder = os.open(tmp_path, os.O_RDONLY)
    tmp_path.chmod(0o555)
    target = name if name.startswith("/") else f"/proc/self/fd/{folder}/{name}"
    result = subprocess.run([*prefix, tolva_exe, "sort", "-o", target], input=b"1.9\n1.10\n",
                            capture_output=True, pass_fds=(folder,), timeout=60)
    tmp_path.chmod(0o755)
    os.close(folder)
    assert (result.returncode, result.stdout, result.stderr) == (0, b"", b"")
    kept = [(s.st_mode, s.st_ino, s.st_nlink, s.st_uid) for s in (before, os.lstat(place))]
    assert kept[0] == kept[1]
    if "dev" not in name:
        assert (reader.communicate()[0] if reader else file.read_bytes()) == b"1.9\n1.10\n"


def default_signals(limit_file_size=False):
    """What the child starts with: the signals the test's own starter may
    ignore (a SIGINT ignored on entry would stay ignored) at their default
    action, no core files, and a file size limit when asked."""
    for number in range(1, signal.NSIG):
        if number not in (signal.SIGKILL, signal.SIGSTOP):
            try:
                signal.signal(number, signal.SIG_DFL)
            except (OSError, ValueError):
                pass
    resource.setrlimit(resource.RLIMIT_CORE, (0, 0))
    if limit_file_size:
        resource.setrlimit(resource.RLIMIT_FSIZE, (200_000, 200_000))


# Every signal whose default action ends the process, sent while output waits
# in the final merge; a file that grows past its limit, while runs are written.
@pytest.mark.parametrize("how", [
    "SIGTERM", "SIGINT", "SIGHUP", "SIGQUIT", "SIGXFSZ", "SIGXCPU", "SIGALRM", "SIGUSR1",
    "SIGUSR2", "SIGVTALRM", "SIGPROF", "SIGIO", "SIGPWR", "SIGRTMIN", "SIGRTMAX",
    "closed pipe", "file size limit",
])
def test_signal_leaves_no_temporary_file(tolva_exe, write, tmp_path, how):
    path = write("v.txt", "\n".join(random_versions(100_000, 5)).encode())
    temp = tmp_path / "temp"
    temp.mkdir()
    proc = subprocess.Popen([tolva_exe, "sort", "-S", "64K", "-T", str(temp), path],
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            preexec_fn=lambda: default_signals(how == "file size limit"))
    if how == "file size limit":
        proc.communicate(timeout=60)
    else:
        # Output begins only in the final merge; the full pipe then holds it there.
        assert proc.stdout.read(1)
        assert [p.name for p in temp.iterdir()][0].startswith("tolva-sort.")
        if how == "closed pipe":
            proc.stdout.close()
        else:
            proc.send_signal(getattr(signal, how))
        proc.wait(timeout=60)
        proc.stdout.close()
    proc.stderr.close()
    expected = {"closed pipe": "SIGPIPE", "file size limit": "SIGXFSZ"}.get(how, how)
    assert proc.returncode == -getattr(signal, expected)
    assert list(temp.iterdir()) == []


def limit_file_size():
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (200_000, 200_000))


@pytest.fixture
def small_disk(tmp_path):
    """A folder on a 256 KiB file system, where one can be mounted."""
    place = tmp_path / "small"
    place.mkdir()
    if os.geteuid() != 0 or subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k", "tmpfs",
                                            str(place)], capture_output=True).returncode != 0:
        pytest.skip("no small file system can be mounted here")
    yield place
    subprocess.run(["umount", str(place)], check=True)


@pytest.mark.parametrize("full", ["temporary files", "output"])
@pytest.mark.parametrize("limit, reason", [("file size", "File too large"),
                                           ("disk", "No space left on device")])
def test_full_disk_is_an_error_that_leaves_no_temporary_file(tolva_exe, write, tmp_path, request,
                                                             full, limit, reason):
    place = request.getfixturevalue("small_disk") if limit == "disk" else tmp_path / "place"
    place.mkdir(exist_ok=True)
    path = write("v.txt", "\n".join(random_versions(60_000, 9)).encode())
    target = place / "out" if full == "output" else tmp_path / "out"
    temp = place if full == "temporary files" else tmp_path
    result = subprocess.run([tolva_exe, "sort", "-S", "64K" if full != "output" else "1G",
                             "-T", str(temp), "-o", str(target), path], capture_output=True,
                            preexec_fn=limit_file_size if limit == "file size" else None)
    assert (result.returncode, result.stdout) == (2, b"")
    what = "temporary file" if full == "temporary files" else f"cannot write to {target}:"
    assert result.stderr.startswith(b"tolva: ") and what in result.stderr.decode()
    assert result.stderr.decode().endswith(f"{reason}\n")
    # The output holds what was written before the disk was full.
    if full == "output":
        written = target.read_bytes()
        whole = subprocess.run([tolva_exe, "sort", path], capture_output=True).stdout
        assert 0 < len(written) < len(whole) and whole.startswith(written)
    assert list(place.iterdir()) == ([target] if full == "output" else [])


@pytest.mark.parametrize("length, how", [(4074, "-T"), (4077, "TMPDIR"), (4095, "-T"),
                                         (4096, "-T"), (5000, "TMPDIR")])
def test_temporary_folder_of_any_length_works_or_is_refused(tolva, write, tmp_path, length, how):
    path, folder = write("v.txt", "\n".join(random_versions(20_000, 4)).encode()), str(tmp_path)
    while len(folder) < length:
        folder += "/" + "d" * min(200, length - len(folder) - 1)
    if length < 4096:
        os.makedirs(folder)
    result = tolva("sort", "-S", "64K", *(["-T", folder] if how == "-T" else []), path,
                   env={"TMPDIR": folder})
    refused = f"tolva: cannot create temporary file {folder}: File name too long\n".encode()
    assert (result.returncode, result.stdout, result.stderr) == (
        (2, b"", refused) if length >= 4096 else (0, tolva("sort", path).stdout, b""))
    assert length >= 4096 or os.listdir(folder) == []


# Runs a command and prints the peak resident size of that command alone.
PEAK_OF_CHILD = """
import resource, subprocess, sys
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, check=True)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)
"""


def test_memory_does_not_grow_with_the_input_beyond_the_buffer(tolva_exe, write, tmp_path):
    """Eight times the lines under -S 2M take about the same memory."""
    lines = random_versions(50_000, 11)

    def peak_kib(copies):
        path = write(f"v{copies}.txt", "\n".join(lines * copies).encode())
        command = [tolva_exe, "sort", "-S", "2M", "-T", str(tmp_path), path]
        run = subprocess.run([sys.executable, "-c", PEAK_OF_CHILD, *command], capture_output=True,
                             timeout=300)
        assert run.returncode == 0, run.stderr
        return int(run.stdout)

    assert peak_kib(8) < 1.5 * peak_kib(1)
