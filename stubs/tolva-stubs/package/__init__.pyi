from . import version as version

__all__ = ["version"]
