#!/usr/bin/env python3
"""The Arabic name the gazetteer's conversion shows for a town, chosen among GeoNames'
alternate names (which carry no language): the names refused, and the one preferred."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
import gazetteer  # noqa: E402


def shown(arabic, own, alternates=(), country="XX", exemplar=""):
    latin = gazetteer.LatinNames(own, alternates)
    return gazetteer.arabic_display_name(arabic, latin, country, exemplar)


class RefusedNames(unittest.TestCase):
    def test_names_that_are_not_arabic_spellings(self):
        cases = [
            ("دمشق", False),
            ("د مشق", True),            # a lone letter
            ("ااالخرطوم", True),        # a letter three times in a row
            ("الخرطوم", False),
            ("ئاممان", True),           # hamza on a yaa seat at the start (Kurdish)
            ("مادرىد", True),           # a dotless yaa inside the word
            ("دبى", False),             # ... at the end it is a spelling of Egypt's
            ("پاریس", True),            # Persian letters
            ("لەندەن", True),           # Kurdish letters
            ("ال", True),               # the article alone
            ("إب", False),              # a town of two letters
            ("Cairo - القاهرة", True),  # Latin letters
            ("عَمّان", False),           # harakat
        ]
        for name, refused in cases:
            with self.subTest(name=name):
                self.assertEqual(gazetteer.refused_arabic_name(name), refused)


class ShownName(unittest.TestCase):
    def test_the_name_an_arabic_reader_expects(self):
        cases = [
            # (Arabic alternates, own Latin names, other Latin names, country, expected)
            (["د مشق", "دمشق", "دیمەشق"], ["Damascus"], ["Dimashq", "Damas"], "SY", "دمشق"),
            (["Khartún - الخرطوم", "ااالخرطوم", "خارطوم", "خرطوم", "الخرطوم"], ["Khartoum"], [],
             "SD", "الخرطوم"),
            (["لأندأن", "لندن", "لەندەن"], ["London"], [], "GB", "لندن"),
            (["ئاممان", "امان", "عمان", "عمّان", "عَمّان", "عەممان"], ["Amman"], [], "JO", "عمان"),
            (["مادرىد", "مادرید", "مدريد", "میدرد"], ["Madrid"], [], "ES", "مدريد"),
            (["ترابلس", "طرابلس", "طرابلس الشام"], ["Tripoli"], ["Ţarābulus", "Trablous"], "LB",
             "طرابلس"),
            (["ولاية وهران", "وهران", "وہران"], ["Oran"], ["Wahran"], "DZ", "وهران"),
            (["أبوظبي", "ئەبووزەبی", "ابو ظبى", "جزيرة أبوظبي وجزر داخلية اخرى"], ["Abu Dhabi"],
             [], "AE", "أبوظبي"),
            (["محافظة حمص", "حمص"], ["Homs"], [], "SY", "حمص"),
            (["ولاية سيدي بلعباس", "سيدي بلعباس"], ["Sidi Bel Abbes"], [], "DZ", "سيدي بلعباس"),
            (["هاله", "ال"], ["Halle"], [], "BE", "هاله"),
            (["ال"], ["Halle"], [], "BE", ""),
            (["إب"], ["Ibb"], [], "YE", "إب"),
            (["نابلوس", "نابلس"], ["Nablus"], ["Nāblus"], "PS", "نابلس"),
            (["مقديشيو", "مقديشو"], ["Mogadishu"], [], "SO", "مقديشو"),
            # another place's name among the alternates (the state of Bahia)
            (["باهيا", "سالوادور"], ["Salvador"], ["Bahia"], "BR", "سالوادور"),
            # the traditional name, a letter from the Spanish one, over a transliteration
            (["سيبييا", "إشبيلية"], ["Sevilla"], [], "ES", "إشبيلية"),
            (["بارسلون", "برشلونة"], ["Barcelona"], [], "ES", "برشلونة"),
            (["برثا", "بيرث"], ["Perth"], [], "AU", "بيرث"),
            # shown without harakat
            (["اَلْمُحَرَّق", "محرق"], ["Al Muharraq"], [], "BH", "المحرق"),
            (["الدوحه", "اَلدَّوْحَة", "الدوحة", "دوحه"], ["Doha"], [], "QA", "الدوحة"),
            (["ئارال"], ["Aral"], [], "CN", ""),
        ]
        for arabic, own, alternates, country, expected in cases:
            with self.subTest(town=own[0]):
                self.assertEqual(shown(arabic, own, alternates, country), expected)

    def test_the_name_cldr_gives_the_zones_city(self):
        # Taken where one of the town's names is spelt so, or it has none.
        self.assertEqual(shown(["اسطنبول"], ["Istanbul"], exemplar="إسطنبول"), "إسطنبول")
        self.assertEqual(shown(["لأندأن", "لندن", "لوندون"], ["London"], exemplar="لندن"), "لندن")
        self.assertEqual(shown(["تهران", "طهران"], ["Tehran"], exemplar="طهران"), "طهران")
        self.assertEqual(shown([], ["Taipei"], exemplar="تايبيه"), "تايبيه")
        self.assertEqual(shown(["بيرث"], ["Perth"], exemplar="برثا"), "بيرث")
        self.assertEqual(shown(["ئاممان"], ["Amman"], exemplar="ئاممان"), "")


if __name__ == "__main__":
    unittest.main()
