"""Reads software version numbers into typed values, orders and prints them.

The classes live in the attribute tree ``tolva.package.version``; the
submodules are attributes of this module, not importable packages.

Supported: CPython 3.9 to 3.15 on Linux.
"""

from . import package as package
from .package.version import Version

__all__ = ["package", "test_function", "init_tracing"]

def test_function(version: Version) -> None:
    """Writes "Got version: " and the version's text to file descriptor 1."""

def init_tracing() -> None:
    """Installs the process-wide log subscriber; a second call raises RuntimeError."""
