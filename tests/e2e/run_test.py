"""Runs one end-to-end test file as ctest does: python3 run_test.py test_NAME.py.

The exit status tells ctest how it went: 0 when every test passed, 1 when one
failed, SKIPPED (the tests' SKIP_RETURN_CODE) when none failed but one could
not run here, so that ctest never counts it as passed. Each skip's reason goes,
with the test's name, to the file E2E_SKIP_LOG names, when it is set
(scripts/test.sh reads it back).
"""

import importlib
import os
import sys
import unittest

SKIPPED = 77


def main(path):
    folder, file_name = os.path.split(os.path.abspath(path))
    sys.path.insert(0, folder)
    name = os.path.splitext(file_name)[0]
    tests = unittest.defaultTestLoader.loadTestsFromModule(importlib.import_module(name))
    result = unittest.TextTestRunner(verbosity=2).run(tests)
    if not result.wasSuccessful():
        return 1
    log = os.environ.get("E2E_SKIP_LOG")
    if result.skipped and log:
        with open(log, "a", encoding="utf-8") as file:
            for _, reason in result.skipped:
                file.write(f"e2e.{name.removeprefix('test_')}: {reason}\n")
    return SKIPPED if result.skipped else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
