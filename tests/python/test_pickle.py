"""Values leave the process that made them: pickles, copies, a process pool and
a Dask cluster give back the same class, kind and fields."""

import base64
import concurrent.futures
import contextlib
import copy
import importlib.util
import ipaddress
import json
import logging
import multiprocessing
import os
import pathlib
import pickle
import re

import pytest

import tolva

V = tolva.package.version
Version, SemVer, DotSeparated, Other = V.Version, V.SemVer, V.DotSeparated, V.Other

VALUES = [
    Version("1.2.3-rc.1+build.5"), Version("1.2"), Version(""), Version("foo_bar"),
    Version(DotSeparated(parts=["1", "2", "3"])),  # its text reads back as a SemVer
    Version(Other(value="1.2")),
    Version(SemVer(major=1, minor=2, patch=3, rc=[""], meta=[])),
    SemVer("v01.2.3"), SemVer("1.2.3-+"),
    SemVer(major=4294967295, minor=0, patch=0, rc=[], meta=["only", "meta"]),
    SemVer(major=1, minor=2, patch=3, rc=["a.b", " ", "\0"], meta=["é", ""]),
    # Texts that read back, with other lists.
    SemVer(major=1, minor=2, patch=3, meta=["a.b"]), SemVer(major=1, minor=2, patch=3, meta=[""]),
    SemVer(major=1, minor=2, patch=3, rc=["a.b"]), Version(SemVer(major=1, minor=0, patch=0, meta=["x.y"])),
    DotSeparated(""), DotSeparated(parts=["", ".", "a b", "\0", "ü"]),
    Other("é_x"), Other(value=""), Other(value="a.b c\n\0é"),
]


def fields(obj):
    """Everything that tells two objects apart: the debug form shows the kind
    and every field, meta and empty-but-present lists included."""
    return type(obj).__name__, repr(obj), str(obj)


def parse(text):
    return tolva.package.version.Version(text)


def texts(count):
    return [f"{i % 7}.{i % 11}.{i % 13}" + ("-rc.1" if i % 3 else "") if i % 5 else f"x_{i}"
            for i in range(count)]


@pytest.mark.parametrize("value", VALUES, ids=repr)
def test_pickle_round_trip_in_every_protocol(value):
    for protocol in range(pickle.HIGHEST_PROTOCOL + 1):
        loaded = pickle.loads(pickle.dumps(value, protocol))
        assert fields(loaded) == fields(value) and loaded == value


def test_pickles_made_in_the_earlier_form_still_load():
    old = json.loads((pathlib.Path(__file__).parent / "old_pickles.json").read_text())
    for protocol in ("protocol 0", "protocol 2", "protocol 5"):
        loaded = pickle.loads(base64.b64decode(old[protocol]))
        assert [list(fields(v)) for v in loaded] == old["fields"], protocol


# Each list part at the edges of the characters that keep it whole when read
# back; a value whose text does not read back identically pickles its fields.
@pytest.mark.parametrize("value, as_text", [
    (DotSeparated(parts=["09azAZ-", "-"]), True), (DotSeparated(parts=[]), True),
    *[(DotSeparated(parts=["a", f"b{c}"]), False) for c in "/:@[`{._ é"],
    (DotSeparated(parts=["a", ""]), False), (DotSeparated(parts=[""]), False),
    (SemVer(major=1, minor=2, patch=3, rc=[], meta=[]), True),
    (SemVer(major=1, minor=2, patch=3, rc=["a+b"]), False),
    (SemVer(major=1, minor=2, patch=3, rc=["a"], meta=["b", ""]), False),
    (Version(DotSeparated(parts=["1", "2"])), True), (Version(DotSeparated(parts=["1", "2", "3"])), False),
    (Version(Other(value="a_")), True), (Version(Other(value="a")), False),
    (Other(value="a"), True), (Other(value="1a"), False),
])
def test_a_value_pickles_as_its_text_exactly_when_that_reads_back(value, as_text):
    reduction = value.__reduce__()
    assert (len(reduction) == 2 and reduction[1][0] == str(value)) == as_text
    loaded = pickle.loads(pickle.dumps(value))
    assert fields(loaded) == fields(value)


@pytest.mark.skipif("libasan" in os.environ.get("LD_PRELOAD", ""),
                    reason="the sanitizer's allocator holds freed memory back")
def test_pickle_of_a_long_value_costs_memory_in_proportion_to_its_text(run_python):
    ran = run_python("""
        import gc, pickle, tolva
        def used(key):
            with open("/proc/self/status") as status:
                return next(int(l.split()[1]) for l in status if l.startswith(key)) * 1024
        text = "a." * 2_500_000 + "a"
        value = tolva.package.version.Version(text)
        gc.collect()
        with open("/proc/self/clear_refs", "w") as clear:
            clear.write("5")
        before = used("VmRSS:")
        pickle.dumps(value)
        print((used("VmHWM:") - before) / len(text))
    """)
    assert float(ran.stdout) < 4, ran.stderr


@pytest.mark.parametrize("make_copy", [copy.copy, copy.deepcopy])
def test_copies_are_equal_and_independent(make_copy):
    for value in VALUES:
        copied = make_copy(value)
        assert copied is not value and fields(copied) == fields(value)
    original = SemVer("1.2.3-rc.1")
    copied = make_copy(original)
    copied.patch, copied.rc = 9, None
    assert str(original) == "1.2.3-rc.1"


def test_the_stand_in_passes_keywords_on_and_cannot_be_made_from_python():
    stand_in = SemVer("1.2.3").__reduce__()[0]
    made = stand_in(major=4, minor=5, patch=6, rc=["a"])
    assert fields(made) == fields(SemVer("4.5.6-a"))
    for make in (type(stand_in), lambda: type(stand_in).__new__(type(stand_in))):
        with pytest.raises(TypeError):
            make()


class Forged:
    """Pickles as a call of the class `cls` with `args`, then `state` set as
    pickle sets a state: what a pickle made elsewhere could hold."""

    def __init__(self, cls, args, state=None):
        self.stand_in = cls("1.2.3" if cls is not Other else "_").__reduce__()[0]
        self.args, self.state = args, state

    def __reduce__(self):
        return self.stand_in, self.args, self.state


@pytest.mark.parametrize("cls, args, state, error, message", [
    (SemVer, ("1.2.3x",), None, RuntimeError, "found 'x'"),
    (SemVer, (5,), None, TypeError, "Cannot construct SemVer from type 'int'"),
    (Version, (), None, ValueError, "Version() requires arguments"),
    (Version, (b"1.2.3",), None, TypeError, "Cannot construct Version from type 'bytes'"),
    (DotSeparated, (Version("1.2.3"),), None, TypeError, "Expected DotSeparated; found"),
    (SemVer, ("0.0.0",), {"major": "1"}, TypeError,
     "argument 'new_major': 'str' object cannot be interpreted as an integer"),
    (SemVer, ("0.0.0",), {"major": 1, "patch": 2**32}, OverflowError, "out of range"),
    (SemVer, ("0.0.0",), {"rc": "rc1"}, TypeError, "argument 'new_rc': Can't extract `str` to `Vec`"),
    (DotSeparated, ("",), {"parts": [1]}, TypeError,
     "argument 'new_parts': 'int' object cannot be converted to 'PyString'"),
    (Other, ("_",), {"parts": None}, TypeError,
     "argument 'new_value': 'NoneType' object cannot be converted to 'PyString'"),
    (Other, ("_",), {"value": "x"}, AttributeError, ""),
    (Version, ("1",), {"parts": ["x"]}, AttributeError, ""),
])
def test_a_forged_pickle_raises_what_the_constructor_or_setter_raises(cls, args, state, error, message):
    data = pickle.dumps([Version("1.0.0"), Forged(cls, args, state and (None, state))])
    with pytest.raises(error, match=re.escape(message)):
        pickle.loads(data)


def test_a_pickle_loads_in_a_fresh_interpreter(run_python):
    result = run_python(f"""
        import pickle
        print(ascii([(type(v).__name__, repr(v), str(v)) for v in pickle.loads({pickle.dumps(VALUES)!r})]))
    """)
    assert result.returncode == 0, result.stderr
    assert result.stdout == ascii([fields(v) for v in VALUES]) + "\n"


def test_a_spawned_process_pool_returns_versions():
    sample = texts(300)
    context = multiprocessing.get_context("spawn")
    with concurrent.futures.ProcessPoolExecutor(2, mp_context=context) as pool:
        parsed = list(pool.map(parse, sample, chunksize=50, timeout=120))
    assert [fields(v) for v in parsed] == [fields(parse(t)) for t in sample]


def listening_addresses():
    """(host, port) of every TCP socket that this process or one it started
    listens on, read from /proc."""
    family = {}
    for pid in os.listdir("/proc"):
        try:
            with open(f"/proc/{pid}/stat") as stat:
                family[int(pid)] = int(stat.read().rsplit(")", 1)[1].split()[1])
        except (OSError, ValueError):
            pass
    ours, grew = {os.getpid()}, True
    while grew:
        more = {pid for pid, parent in family.items() if parent in ours} - ours
        ours, grew = ours | more, bool(more)
    inodes = set()
    for pid in ours:
        with contextlib.suppress(OSError):
            for fd in os.listdir(f"/proc/{pid}/fd"):
                with contextlib.suppress(OSError):
                    target = os.readlink(f"/proc/{pid}/fd/{fd}")
                    if target.startswith("socket:["):
                        inodes.add(target[8:-1])
    found = []
    for table in ("tcp", "tcp6"):
        with open(f"/proc/net/{table}") as rows:
            for row in list(rows)[1:]:
                local, state, inode = row.split()[1], row.split()[3], row.split()[9]
                if state == "0A" and inode in inodes:  # LISTEN
                    address, port = local.split(":")
                    host = ipaddress.ip_address(
                        bytes.fromhex(address)[::-1] if len(address) == 8
                        else b"".join(bytes.fromhex(address[i:i + 8])[::-1] for i in range(0, 32, 8)))
                    found.append((str(host), int(port, 16)))
    return found


# Dask and the libraries under it warn of their own deprecations.
@pytest.mark.filterwarnings("ignore::DeprecationWarning")
def test_a_dask_cluster_parses_and_orders_as_a_local_parse():
    dask = pytest.importorskip("dask")
    distributed = pytest.importorskip("distributed")
    import dask.bag

    example = importlib.util.spec_from_file_location(
        "dask_versions", pathlib.Path(__file__).parents[2] / "examples" / "dask_versions.py")
    loopback_only = importlib.util.module_from_spec(example)
    example.loader.exec_module(loopback_only)

    sample = texts(3000)
    with dask.config.set({"distributed.comm.timeouts.connect": "120s"}), \
            distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                     silence_logs=logging.ERROR,
                                     **loopback_only.LOOPBACK_ONLY) as cluster, \
            distributed.Client(cluster, timeout=120):
        parsed = dask.bag.from_sequence(sample, npartitions=6).map(parse)
        remote, top = dask.compute(parsed, parsed.topk(25))
        listening = listening_addresses()
    assert listening and {host for host, _ in listening} == {"127.0.0.1"}
    local = [parse(t) for t in sample]
    assert [fields(v) for v in remote] == [fields(v) for v in local]
    assert top == sorted(local, reverse=True)[:25]
