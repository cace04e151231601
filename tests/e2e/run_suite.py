"""Runs the end-to-end suite and ends with the line "e2e: N passed, N failed".

A test counts once: failed when it or any of its subtests failed or raised, passed otherwise;
skipped tests count in neither figure. Exit status 0 only when nothing failed.
"""

import sys
import unittest
from pathlib import Path


def main():
    here = Path(__file__).resolve().parent
    sys.path.insert(0, str(here))
    pattern = sys.argv[1] if len(sys.argv) > 1 else "test_*.py"
    suite = unittest.defaultTestLoader.discover(str(here), pattern=pattern, top_level_dir=str(here))
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    failed_ids = set()
    for test, _ in result.failures + result.errors:
        parent = getattr(test, "test_case", test)  # a failed subtest names its test
        failed_ids.add(parent.id())
    failed_ids |= {test.id() for test in result.unexpectedSuccesses}
    skipped = len(result.skipped)
    passed = max(result.testsRun - skipped - len(failed_ids), 0)
    print(f"e2e: {passed} passed, {len(failed_ids)} failed")
    return 0 if not failed_ids else 1


if __name__ == "__main__":
    sys.exit(main())
