import pytest

import tolva

VERSION = tolva.package.version


@pytest.mark.parametrize("module, name, names", [
    (tolva, "tolva", ["package", "test_function", "init_tracing"]),
    (tolva.package, "package", ["version"]),
    (VERSION, "version", ["Version", "SemVer", "DotSeparated", "Other"]),
])
def test_module_tree(module, name, names):
    assert (module.__name__, module.__all__) == (name, names)
    assert all(hasattr(module, n) for n in names)


@pytest.mark.parametrize("name, signature, doc, sample", [
    ("Version", "(*args)", "Python wrapper around a [`Version`]", "1.2.3"),
    ("SemVer", "(*args, **kwargs)", "Python wrapper type for [`SemVer`]", "1.2.3"),
    ("DotSeparated", "(*args, **kwargs)", "Python wrapper around [`DotSeparated`]", "1.2"),
    ("Other", "(*args, **kwargs)", "Python wrapper around the [`Other`] version type", "a_b"),
])
def test_classes(name, signature, doc, sample):
    cls = getattr(VERSION, name)
    assert (cls.__name__, cls.__qualname__, cls.__module__) == (name, name, "builtins")
    assert (cls.__text_signature__, cls.__doc__) == (signature, doc)
    with pytest.raises(TypeError, match="is not an acceptable base type"):
        type("Derived", (cls,), {})
    instance = cls(sample)
    with pytest.raises(AttributeError):
        instance.extra = 1
    with pytest.raises(TypeError, match="unhashable"):
        hash(instance)


@pytest.mark.parametrize("name, signature", [("test_function", "(version)"), ("init_tracing", "()")])
def test_functions_are_bound_to_the_top_module(name, signature):
    function = getattr(tolva, name)
    assert (function.__name__, function.__module__, function.__self__) == (name, "tolva", tolva)
    assert (function.__doc__, function.__text_signature__) == (None, signature)


@pytest.mark.parametrize("statement", ["import tolva.package", "from tolva.package.version import Version"])
def test_submodules_are_not_importable_by_path(statement):
    with pytest.raises(ModuleNotFoundError):
        exec(statement, {})


def test_second_entry_raises_import_error_and_keeps_the_first_module(run_python):
    ran = run_python("""
        import sys, tolva
        first = tolva
        del sys.modules["tolva"]
        try:
            import tolva
        except ImportError as error:
            print(error)
        print(first.package.version.Version("1.2.3"))
    """)
    assert ran.stdout == ("PyO3 modules compiled for CPython 3.8 or older may only be "
                          "initialized once per interpreter process\n1.2.3\n"), ran.stderr


def test_after_a_sub_interpreter_imported_first_the_main_one_is_told_why_it_cannot(run_python):
    ran = run_python("""
        try:
            from _testcapi import run_in_subinterp
        except ImportError:
            import _xxsubinterpreters as subs
            run_in_subinterp = lambda code: subs.run_string(subs.create(), code)
        run_in_subinterp("import tolva")
        import tolva
    """)
    if "ModuleNotFoundError" in ran.stderr:
        pytest.skip("this interpreter offers no sub-interpreters")
    assert ran.stderr.endswith("ImportError: tolva works in one interpreter per process, whichever "
                               "imports it first, and another interpreter of this process has "
                               "imported it\n"), ran.stderr


def test_concurrent_first_imports_share_one_module(run_python):
    ran = run_python("""
        import importlib, threading
        found = []
        threads = [threading.Thread(target=lambda: found.append(importlib.import_module("tolva")))
                   for _ in range(8)]
        for t in threads: t.start()
        for t in threads: t.join()
        print(len(found), len({id(m) for m in found}))
    """)
    assert ran.stdout == "8 1\n", ran.stderr
