"""Every numbered message the program shows is in the message file it ships.

The numbers are the constants of gui/framework/message_numbers.h and any
number written straight into a Message(), Text() or Options() call in gui/ or
app/.
"""
import pathlib
import re
import sys
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]


def numbers_in_code():
    numbers = set()
    header = (ROOT / "gui/framework/message_numbers.h").read_text()
    numbers.update(int(n) for n in re.findall(r"constexpr int k\w+ = (\d+);", header))
    for folder in ("gui", "app"):
        for path in (ROOT / folder).rglob("*"):
            if path.suffix in (".cpp", ".h"):
                text = path.read_text()
                numbers.update(int(n) for n in re.findall(r"\b(?:Message|Text|Options)\((\d+)\)", text))
    return numbers


def numbers_in_file():
    numbers = set()
    for line in (ROOT / "resources/nrx.msg").read_text().splitlines():
        match = re.match(r"\s*(\d+)\s", line)
        if match:
            numbers.add(int(match.group(1)))
    return numbers


class MessageNumbers(unittest.TestCase):
    def test_every_number_the_code_uses_is_in_the_file(self):
        used = numbers_in_code()
        self.assertGreater(len(used), 15, "the scan found the code's message numbers")
        self.assertEqual(sorted(used - numbers_in_file()), [])


if __name__ == "__main__":
    sys.exit(unittest.main())
