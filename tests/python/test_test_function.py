import pytest

import tolva

Version = tolva.package.version.Version


def test_writes_the_text_form_at_descriptor_1(run_python):
    ran = run_python("""
        import io, sys, tolva
        Version = tolva.package.version.Version
        sys.stdout.flush()
        sys.stdout = captured = io.StringIO()
        results = [tolva.test_function(Version("1.2.3")),
                   tolva.test_function(version=Version("v1.2.3-rc.1+b"))]
        tolva.init_tracing()
        results.append(tolva.test_function(Version("1.2.3")))
        sys.stdout = sys.__stdout__
        print(results, repr(captured.getvalue()))
    """)
    lines = [line for line in ran.stdout.splitlines() if line.startswith("Got version: ")]
    assert lines == ["Got version: 1.2.3", "Got version: 1.2.3-rc.1+b", "Got version: 1.2.3"]
    assert ran.stdout.endswith("[None, None, None] ''\n"), ran.stderr


@pytest.mark.parametrize("args, kwargs, message", [
    ((), {}, "test_function() missing 1 required positional argument: 'version'"),
    ((Version("1"), 1), {}, "test_function() takes 1 positional arguments but 2 were given"),
    ((), {"v": Version("1")}, "test_function() got an unexpected keyword argument 'v'"),
    ((Version("1"),), {"version": Version("1")},
     "test_function() got multiple values for argument 'version'"),
    (("1.2.3",), {}, "argument 'version': 'str' object cannot be converted to 'Version'"),
    ((), {"version": tolva.package.version.SemVer("1.2.3")},
     "argument 'version': 'SemVer' object cannot be converted to 'Version'"),
])
def test_refusals_write_nothing(capfd, args, kwargs, message):
    with pytest.raises(TypeError) as caught:
        tolva.test_function(*args, **kwargs)
    assert (type(caught.value), caught.value.args) == (TypeError, (message,))
    assert capfd.readouterr().out == ""


def test_closed_descriptor_raises_the_internal_failure(run_python):
    ran = run_python("""
        import os, sys, tolva
        v = tolva.package.version.Version("1.2.3")
        os.close(1)
        failures = []
        for _ in range(2):
            try:
                tolva.test_function(v)
            except Exception as error:
                failures.append(error)
        a, b = failures
        sys.stderr.write(repr((type(a).__name__, a.args, type(a) is type(b))))
    """)
    assert ran.stderr == repr(("InternalError", ("failed printing to stdout: Bad file descriptor",), True))


@pytest.mark.parametrize("handler, raised", [
    ("raise Alarm()", ("Alarm", "")),
    # A line written from the handler would land inside the cut one.
    ("tolva.test_function(v)", ("InternalError", "failed printing to stdout: Resource deadlock avoided")),
])
def test_a_signal_handler_ends_a_write_blocked_on_a_full_pipe(run_python, handler, raised):
    ran = run_python(f"""
        import faulthandler, fcntl, os, signal, sys, tolva
        Version = tolva.package.version.Version
        faulthandler.dump_traceback_later(20, exit=True)
        class Alarm(Exception):
            pass
        def on_alarm(signum, frame):
            {handler}
        v = Version("1.2.3")
        big = Version("a" * 2_000_000)
        read_end, write_end = os.pipe()
        os.dup2(write_end, 1)
        signal.signal(signal.SIGALRM, on_alarm)
        signal.setitimer(signal.ITIMER_REAL, 0.5)
        try:
            tolva.test_function(big)
        except Exception as error:
            caught = (type(error).__name__, str(error))
        fcntl.fcntl(read_end, fcntl.F_SETFL, os.O_NONBLOCK)
        def drain():
            out = b""
            while True:
                try:
                    out += os.read(read_end, 1 << 16)
                except BlockingIOError:
                    return out
        cut = drain()
        tolva.test_function(v)
        tolva.test_function(v)
        sys.stderr.write(repr((caught, cut[:20], cut.endswith(b"a"), len(cut) < 2_000_000, drain())))
    """)
    assert ran.stderr == repr((raised, b"Got version: aaaaaaa", True, True, b"\nGot version: 1.2.3\nGot version: 1.2.3\n"))


def test_a_signal_handler_ends_a_wait_for_another_threads_blocked_write(run_python):
    ran = run_python("""
        import faulthandler, os, signal, sys, threading, time, tolva
        Version = tolva.package.version.Version
        faulthandler.dump_traceback_later(20, exit=True)
        class Alarm(Exception):
            pass
        def on_alarm(signum, frame):
            raise Alarm()
        read_end, write_end = os.pipe()
        os.dup2(write_end, 1)
        blocked = threading.Thread(target=tolva.test_function, args=(Version("a" * 2_000_000),),
                                   daemon=True)
        blocked.start()
        time.sleep(0.3)
        signal.signal(signal.SIGALRM, on_alarm)
        signal.setitimer(signal.ITIMER_REAL, 0.3)
        try:
            tolva.test_function(Version("1.2.3"))
        except Alarm:
            sys.stderr.write("interrupted")
        sys.stderr.flush()
        os._exit(0)
    """)
    assert (ran.returncode, ran.stderr) == (0, "interrupted")
