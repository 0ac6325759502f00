import pytest

import tolva

VERSION_MODULE = tolva.package.version
CLASS_NAMES = ["Version", "SemVer", "DotSeparated", "Other"]


@pytest.mark.parametrize("module, name, names", [
    (tolva, "tolva", ["package", "test_function", "init_tracing"]),
    (tolva.package, "package", ["version"]),
    (VERSION_MODULE, "version", CLASS_NAMES),
])
def test_module_tree(module, name, names):
    assert module.__name__ == name
    assert module.__all__ == names
    assert all(hasattr(module, n) for n in names)


def test_top_module_doc_is_one_sentence():
    doc = tolva.__doc__
    assert "extension module" in doc
    assert doc.endswith(".") and doc.count(".") == 1 and "\n" not in doc


@pytest.mark.parametrize("name, signature, doc", [
    ("Version", "(*args)", "Python wrapper around a [`Version`]"),
    ("SemVer", "(*args, **kwargs)", "Python wrapper type for [`SemVer`]"),
    ("DotSeparated", "(*args, **kwargs)", "Python wrapper around [`DotSeparated`]"),
    ("Other", "(*args, **kwargs)", "Python wrapper around the [`Other`] version type"),
])
def test_class_attributes(name, signature, doc):
    cls = getattr(VERSION_MODULE, name)
    assert (cls.__name__, cls.__qualname__, cls.__module__) == (name, name, "builtins")
    assert cls.__text_signature__ == signature
    assert cls.__doc__ == doc
    assert repr(cls) == f"<class 'builtins.{name}'>"


@pytest.mark.parametrize("name, signature", [
    ("test_function", "(version)"),
    ("init_tracing", "()"),
])
def test_functions_are_bound_to_the_top_module(name, signature):
    function = getattr(tolva, name)
    assert function.__name__ == name
    assert function.__module__ == "tolva"
    assert function.__self__ is tolva
    assert function.__doc__ is None
    assert function.__text_signature__ == signature


@pytest.mark.parametrize("statement", [
    "import tolva.package",
    "import tolva.package.version",
    "from tolva.package.version import Version",
])
def test_submodules_are_not_importable_by_path(statement):
    with pytest.raises(ModuleNotFoundError):
        exec(statement, {})


SAMPLES = {
    "Version": lambda: VERSION_MODULE.Version("1.2.3"),
    "SemVer": lambda: VERSION_MODULE.SemVer("1.2.3"),
    "DotSeparated": lambda: VERSION_MODULE.DotSeparated("1.2"),
    "Other": lambda: VERSION_MODULE.Other("foo_bar"),
}


@pytest.mark.parametrize("name", CLASS_NAMES)
def test_classes_are_final_dictless_and_unhashable(name):
    cls = getattr(VERSION_MODULE, name)
    with pytest.raises(TypeError, match="is not an acceptable base type"):
        type("Derived", (cls,), {})
    sample = SAMPLES[name]()
    assert not hasattr(sample, "__dict__")
    with pytest.raises(AttributeError):
        sample.extra = 1
    assert cls.__hash__ is None
    with pytest.raises(TypeError, match="unhashable"):
        hash(sample)
    with pytest.raises(TypeError):
        {sample}


def test_second_entry_raises_import_error(run_python):
    ran = run_python("""
        import sys
        import tolva
        first = tolva
        del sys.modules["tolva"]
        try:
            import tolva
        except ImportError as error:
            print(type(error).__name__, error, sep=": ")
        print(first.package.version.Version("1.2.3"))
    """)
    assert ran.returncode == 0, ran.stderr
    assert ran.stdout == (
        "ImportError: PyO3 modules compiled for CPython 3.8 or older may only be "
        "initialized once per interpreter process\n"
        "1.2.3\n")


def test_concurrent_first_imports_share_one_module(run_python):
    ran = run_python("""
        import importlib, threading
        modules = []
        def load():
            modules.append(importlib.import_module("tolva"))
        threads = [threading.Thread(target=load) for _ in range(8)]
        for t in threads: t.start()
        for t in threads: t.join()
        print(len(modules), len({id(m) for m in modules}))
    """)
    assert ran.returncode == 0, ran.stderr
    assert ran.stdout == "8 1\n"
