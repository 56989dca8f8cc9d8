#!/usr/bin/env python3
"""The Arabic name the gazetteer's conversion shows for a town, chosen among GeoNames'
alternate names: the rows of tests/data/places/arabic-names.txt."""
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "scripts"))
import gazetteer  # noqa: E402


def rows(kind):
    with open(os.path.join(HERE, "data", "places", "arabic-names.txt"), encoding="utf-8") as f:
        cells = [[c.strip() for c in line.split("|")] for line in f if not line.startswith("#")]
    return [c[1:] for c in cells if c[0] == kind]


def names(cell):
    return cell.split("/") if cell else []


class ArabicNames(unittest.TestCase):
    def test_names_that_are_not_arabic_spellings(self):
        cases = rows("refused")
        self.assertEqual(len(cases), 13)
        for name, refused in cases:
            with self.subTest(name=name):
                self.assertEqual(gazetteer.refused_arabic_name(name), refused == "yes")

    def test_the_name_an_arabic_reader_expects(self):
        cases = rows("shown")
        self.assertEqual(len(cases), 28)
        for arabic, own, others, country, exemplar, expected in cases:
            with self.subTest(town=own):
                latin = gazetteer.LatinNames(names(own), names(others))
                self.assertEqual(gazetteer.arabic_display_name(names(arabic), latin, country,
                                                               exemplar), expected)


if __name__ == "__main__":
    unittest.main()
