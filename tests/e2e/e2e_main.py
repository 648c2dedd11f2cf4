"""How every end-to-end test file ends: its tests run, then an exit status for
ctest: 0 when all passed, 1 when one failed, SKIPPED (the tests' SKIP_RETURN_CODE)
when none failed but one could not run here, so that ctest never counts it as
passed. Each skip's reason goes, with the test's name, to the file that
E2E_SKIP_LOG names, when it is set (scripts/test.sh reads it back).
"""

import os
import sys
import unittest

SKIPPED = 77


def main():
    result = unittest.main(verbosity=2, exit=False).result
    if not result.wasSuccessful():
        sys.exit(1)
    if not result.skipped:
        sys.exit(0)
    log = os.environ.get("E2E_SKIP_LOG")
    if log:
        name = os.path.splitext(os.path.basename(sys.argv[0]))[0].removeprefix("test_")
        with open(log, "a", encoding="utf-8") as file:
            for test, reason in result.skipped:
                file.write(f"e2e.{name}: {reason}\n")
    sys.exit(SKIPPED)
