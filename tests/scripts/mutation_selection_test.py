"""The mutation tool's sample and its replay on a changed tree."""

import unittest
from collections import Counter

from mutation.selection import apply, relocate, sample


def function(name, lines):
    body = "".join(f"  x{i} = a{i} < b{i} + 1;\n" for i in range(lines))
    return f"void {name}() {{\n{body}}}\n"


class Sampling(unittest.TestCase):
    texts = {"small.cpp": function("Small", 20), "large.cpp": function("Large", 60),
             "notes.h": "// only a comment\n"}

    def test_a_seed_always_gives_the_same_mutants_and_another_seed_others(self):
        first = sample(self.texts, seed=4, count=12)
        self.assertEqual(first, sample(dict(reversed(self.texts.items())), seed=4, count=12))
        self.assertNotEqual(first, sample(self.texts, seed=5, count=12))

    def test_mutants_are_numbered_in_source_order_and_distinct(self):
        mutants = sample(self.texts, seed=1, count=30)
        self.assertEqual([m.id for m in mutants], list(range(1, 31)))
        places = [(m.file, m.line, m.column, m.operator) for m in mutants]
        self.assertEqual(places, sorted(places))
        self.assertEqual(len(set(places)), 30)

    def test_files_share_the_sample_by_their_code_lines(self):
        files = Counter(m.file for m in sample(self.texts, seed=2, count=80))
        self.assertNotIn("notes.h", files)
        # 22 against 62 code lines: about 21 and 59 of 80.
        self.assertAlmostEqual(files["small.cpp"], 80 * 22 / 84, delta=8)

    def test_a_sample_larger_than_the_sites_takes_every_site_once(self):
        texts = {"one.cpp": "void F() {\n  x = a < b;\n}\n"}
        self.assertEqual([m.mutated for m in sample(texts, seed=1, count=10)],
                         ["  x = a <= b;"])


class Replay(unittest.TestCase):
    original = "void F() {\n  x = a < b;\n  y = c;\n}\n"

    def setUp(self):
        (self.mutant,) = sample({"f.cpp": self.original}, seed=1, count=1)

    def test_an_unchanged_line_is_found_at_its_number(self):
        self.assertEqual(relocate(self.mutant, {"f.cpp": self.original}), self.mutant)

    def test_a_moved_and_reindented_line_is_found_nearest_its_old_place(self):
        moved = "// new\nvoid F() {\n  if (z) {\n    x = a < b;\n  }\n}\n  x = a < b;\n"
        found = relocate(self.mutant, {"f.cpp": moved})
        self.assertEqual((found.line, found.column, found.mutated), (4, self.mutant.column + 2,
                                                                     "    x = a <= b;"))
        self.assertEqual(apply(moved, found).split("\n")[3], "    x = a <= b;")

    def test_a_line_moved_to_another_file_is_found_there(self):
        found = relocate(self.mutant, {"f.cpp": "void F() {}\n", "g.cpp": self.original})
        self.assertEqual((found.file, found.line), ("g.cpp", 2))

    def test_a_line_that_is_gone_is_stale(self):
        self.assertIsNone(relocate(self.mutant, {"f.cpp": "void F() {\n  x = a > b;\n}\n"}))

    def test_applying_to_a_line_that_changed_is_refused(self):
        self.assertIsNone(apply("void F() {\n  x = a > b;\n}\n", self.mutant))


if __name__ == "__main__":
    unittest.main()
