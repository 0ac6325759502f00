import pytest

import tolva

V = tolva.package.version
print_version = tolva.test_function


def test_writes_the_text_form_at_descriptor_1(run_python):
    ran = run_python("""
        import io, sys
        import tolva
        Version = tolva.package.version.Version
        sys.stdout.flush()
        captured = io.StringIO()
        sys.stdout = captured
        results = [
            tolva.test_function(Version("1.2.3")),
            tolva.test_function(version=Version("v1.2.3")),
            tolva.test_function(Version("1.2.3-rc.1+b")),
            tolva.test_function(Version(tolva.package.version.Other("foo_bar"))),
        ]
        tolva.init_tracing()
        results.append(tolva.test_function(Version("1.2.3")))
        sys.stdout = sys.__stdout__
        print(results, repr(captured.getvalue()))
    """)
    assert ran.returncode == 0, ran.stderr
    assert ran.stdout.endswith("[None, None, None, None, None] ''\n")
    lines = [line for line in ran.stdout.splitlines() if line.startswith("Got version: ")]
    assert lines == [
        "Got version: 1.2.3",
        "Got version: 1.2.3",
        "Got version: 1.2.3-rc.1+b",
        "Got version: foo_bar",
        "Got version: 1.2.3",
    ]


@pytest.mark.parametrize("args, kwargs, message", [
    ((), {}, "test_function() missing 1 required positional argument: 'version'"),
    ((V.Version("1"), V.Version("2")), {},
     "test_function() takes 1 positional arguments but 2 were given"),
    ((V.Version("1"), 1, 2), {}, "test_function() takes 1 positional arguments but 3 were given"),
    ((), {"v": V.Version("1")}, "test_function() got an unexpected keyword argument 'v'"),
    ((V.Version("1"),), {"Version": 1},
     "test_function() got an unexpected keyword argument 'Version'"),
    ((V.Version("1"),), {"version": V.Version("1")},
     "test_function() got multiple values for argument 'version'"),
    (("1.2.3",), {}, "argument 'version': 'str' object cannot be converted to 'Version'"),
    ((5,), {}, "argument 'version': 'int' object cannot be converted to 'Version'"),
    ((), {"version": V.SemVer("1.2.3")},
     "argument 'version': 'SemVer' object cannot be converted to 'Version'"),
    ((None,), {}, "argument 'version': 'NoneType' object cannot be converted to 'Version'"),
])
def test_refusals_write_nothing(capfd, args, kwargs, message):
    with pytest.raises(TypeError) as caught:
        print_version(*args, **kwargs)
    assert type(caught.value) is TypeError
    assert caught.value.args == (message,)
    assert capfd.readouterr().out == ""


def test_closed_descriptor_raises_the_internal_failure(run_python):
    ran = run_python("""
        import os, sys
        import tolva
        v = tolva.package.version.Version("1.2.3")
        os.close(1)
        failures = []
        for _ in range(2):
            try:
                tolva.test_function(v)
            except Exception as error:
                failures.append(error)
        first, second = failures
        sys.stderr.write(repr((type(first).__name__, type(first).__module__, first.args,
                               type(first) is type(second),
                               issubclass(type(first), (RuntimeError, OSError)))))
    """)
    assert ran.returncode == 0, ran.stderr
    assert ran.stderr == repr((
        "InternalError", "tolva", ("failed printing to stdout: Bad file descriptor",), True, False))
