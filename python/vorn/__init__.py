"""Transformation contracts: parse, validate and analyse them from Python.

The work is done by the compiled extension :mod:`vorn._native`; this package
only re-exports its functions.
"""

from vorn import _native
from vorn._native import *  # noqa: F401,F403

__all__ = [name for name in dir(_native) if not name.startswith("_")]
