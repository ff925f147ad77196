#!/usr/bin/env python3
"""Re-reads Zenitor's data files by the program's column rules and checks them.

    python3 tools/check_data.py [DATA_DIR]

Prints the counts per file and a few decoded records, compares well-known objects with their
catalogue positions, and exits with status 1 when a check fails. Independent of build_data.py:
it knows only the column layout the readers use.
"""

import math
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
PI = 3.14159265358979

failures = []


def fail(msg):
    failures.append(msg)
    print("FAIL: " + msg)


# ----------------------------------------------------------------------------- reading rules

NUMBER = re.compile(r"[+-]?(\d+\.?\d*|\.\d+)([EeDd][+-]?\d+)?")


def numeric_value(text):
    """Blanks, tabs and line feeds are dropped; then the longest number at the start is read."""
    s = re.sub(r"[ \t\n]", "", text)
    m = NUMBER.match(s)
    if not m:
        # A sign or point alone, or no digit at all.
        return 0.0
    num = m.group(0)
    if m.group(2) is None:
        return float(num)
    return float(num.replace("D", "E").replace("d", "e"))


def whole_number(text):
    v = round(numeric_value(text))  # Python rounds halves to the even neighbour
    if not -32768 <= v <= 32767:
        raise ValueError("whole number out of range: %r" % text)
    return v


def cols(line, first, last):
    """Characters first..last (1-based) of a line; shorter lines give what they have."""
    return line[first - 1:last]


def deg_min_to_radians(whole, minutes):
    return (whole + minutes / 60.0) * PI / 180.0


def read_lines(path):
    data = open(path, "rb").read()
    if b"\n" in data.replace(b"\r\n", b""):
        fail("%s: a line ends in a lone LF" % os.path.basename(path))
    if data and not data.endswith(b"\r\n"):
        fail("%s: last line without CR LF" % os.path.basename(path))
    text = data.decode("latin-1")
    lines = text.split("\r\n")
    if lines and lines[-1] == "":
        lines.pop()
    return lines


# ----------------------------------------------------------------------------- readers


def read_messier(path):
    out = []
    for line in read_lines(path):
        if line[:3] != "[ ]":
            continue
        name = "M" + number_text(numeric_value(cols(line, 5, 7)))
        x = numeric_value(cols(line, 55, 58))
        if cols(line, 53, 54) == "IC":
            desig = name + "/IC" + number_text(x)
        elif x > 0:
            desig = name + "/NGC" + number_text(x)
        else:
            desig = name
        code = cols(line, 10, 11)
        ra = deg_min_to_radians(whole_number(cols(line, 26, 27)), numeric_value(cols(line, 28, 31)))
        dec = deg_min_to_radians(whole_number(cols(line, 34, 35)), numeric_value(cols(line, 36, 39)))
        if cols(line, 33, 33) == "-":
            dec = -dec
        mag = numeric_value(line[18:40])
        comment = {"GX": "Galaxy", "GC": "Globular Cluster", "OC": "Open Cluster", "PN": "Nebula",
                   "BN": "Nebula", "MW": "Milky Way Patch", "*2": "2 Stars"}.get(code, "")
        if line[69:] != "":
            comment = line[69:139]
        out.append(dict(cat="M", desig=desig[:20], ra=ra, dec=dec, mag=mag, comment=comment,
                        type=code))
    return out


def read_sac(path):
    listed, other = [], []
    for line in read_lines(path):
        if cols(line, 2, 7) == "OBJECT":
            continue
        flags = cols(line, 158, 160)
        if flags == "   ":
            cat = "S"
        else:
            cat = ""
            if cols(line, 158, 158) == "B":
                cat = "B"
            if cols(line, 159, 159) == "C":
                cat = "C"
            if cols(line, 160, 160) == "H":
                cat = "H"
        sac_type = cols(line, 42, 46)
        ra = deg_min_to_radians(whole_number(cols(line, 56, 57)), numeric_value(cols(line, 59, 62)))
        dec = deg_min_to_radians(whole_number(cols(line, 67, 68)), numeric_value(cols(line, 70, 71)))
        if cols(line, 66, 66) == "-":
            dec = -dec
        comment = sac_type if cols(line, 214, 215) == "  " else cols(line, 214, 283)
        rec = dict(cat=cat, desig=cols(line, 2, 17), ra=ra, dec=dec,
                   mag=numeric_value(cols(line, 75, 78)), comment=comment, type=sac_type,
                   flags=flags)
        (other if cat == "S" else listed).append(rec)
    return listed, other


TYPE_NUMBERS = {1: ("GX", "Galaxy"), 2: ("SN", "Super Nova"), 3: ("PN", "Nebula"),
                4: ("OC", "Open Cluster"), 5: ("GC", "Globular Cluster"),
                6: ("Gp", "Part of Galaxy"), 7: ("Dp", "Duplicate"), 8: ("Dp", "Duplicate"),
                9: ("St", "Star(s)"), 10: ("NF", "Not Found")}


def read_ngc_ic(path, letter, prefix):
    out = []
    for line in read_lines(path):
        mag = numeric_value(cols(line, 41, 44))
        if mag <= 0:
            continue
        t = numeric_value(cols(line, 8, 9))
        code, comment = TYPE_NUMBERS.get(t, ("", ""))
        ra = deg_min_to_radians(whole_number(cols(line, 18, 19)),
                                numeric_value(cols(line, 21, 22))
                                + numeric_value(cols(line, 24, 27)) / 60.0)
        d = whole_number(cols(line, 29, 31))
        dec = deg_min_to_radians(abs(d), numeric_value(cols(line, 33, 34))
                                 + numeric_value(cols(line, 36, 39)) / 60.0)
        if "-" in cols(line, 29, 31):
            dec = -dec
        out.append(dict(cat=letter, desig=prefix + number_text(numeric_value(cols(line, 1, 4))),
                        ra=ra, dec=dec, mag=mag, comment=comment, type=code))
    return out


def read_guide_stars(path):
    out = []
    for line in read_lines(path):
        if not line[:1].isdigit():
            continue
        ra = (numeric_value(cols(line, 41, 42)) + numeric_value(cols(line, 44, 45)) / 60.0
              + numeric_value(cols(line, 47, 50)) / 3600.0)
        dec = (numeric_value(cols(line, 53, 54)) + numeric_value(cols(line, 56, 57)) / 60.0
               + numeric_value(cols(line, 59, 60)) / 3600.0)
        if cols(line, 52, 52) == "-":
            dec = -dec
        out.append(dict(desig=cols(line, 20, 33).rstrip(), mag=numeric_value(cols(line, 35, 39)),
                        ra=ra * PI / 180.0, dec=dec * PI / 180.0))
    return out


def read_locations(path):
    headers, sites = [], []
    for line in read_lines(path):
        if line[:1] == "-" or line[:1].isdigit():
            words = line.split(None, 17)
            words += [""] * (18 - len(words))
            nums = [round(numeric_value(w)) for w in words[:7]]
            horizon = [round(numeric_value(w)) for w in words[8:16]]
            sites.append(dict(lat=nums[0:3], lon=nums[3:6], tz=nums[6], dst=words[7] == "Y",
                              horizon=horizon, primary=words[16] == "Y", name=words[17]))
        else:
            headers.append(line)
    return headers, sites


def number_text(v):
    s = ("%d" % v) if v == int(v) else repr(v)
    return (" " + s) if v >= 0 else s


# ----------------------------------------------------------------------------- checks


def ra_deg(rec):
    return rec["ra"] * 15.0 * 180.0 / PI


def dec_deg(rec):
    return rec["dec"] * 180.0 / PI


def separation(ra1, dec1, ra2, dec2):
    r = math.radians
    s = (math.sin(r(dec1)) * math.sin(r(dec2))
         + math.cos(r(dec1)) * math.cos(r(dec2)) * math.cos(r(ra1 - ra2)))
    return math.degrees(math.acos(max(-1.0, min(1.0, s))))


def show(rec):
    return "%-1s %-20s RA %8.4f deg  Dec %+8.4f deg  mag %5.2f  %s" % (
        rec.get("cat", ""), rec["desig"], ra_deg(rec), dec_deg(rec), rec["mag"],
        rec.get("comment", "").rstrip())


def expect(records, desig, ra, dec, mag=None, what=""):
    """The first record with this designation lies within 0.1 degree of (ra, dec)."""
    found = [r for r in records if r["desig"].rstrip() == desig]
    if not found:
        fail("%s: %s not found" % (what, desig))
        return None
    r = found[0]
    sep = separation(ra_deg(r) if "ra" in r else 0, dec_deg(r), ra, dec)
    if sep > 0.1:
        fail("%s: %s is %.3f deg from its catalogue position" % (what, desig, sep))
    if mag is not None and abs(r["mag"] - mag) > 0.3:
        fail("%s: %s has magnitude %.2f, expected about %.1f" % (what, desig, r["mag"], mag))
    print("  ok  " + show(r))
    return r


def guide_ra_deg(rec):
    # The star reader converts hours with the degree rule, like the catalogue convention.
    return rec["ra"] * 15.0 * 180.0 / PI


def main(argv):
    data = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(HERE), "data")
    path = lambda n: os.path.join(data, n)

    messier = read_messier(path("messier.txt"))
    listed, other = read_sac(path("Sac72.txt"))
    ngc = read_ngc_ic(path("revngc.txt"), "N", "NGC")
    ic = read_ngc_ic(path("revic.txt"), "I", "IC")
    stars = read_guide_stars(path("gdstars.txt"))
    headers, sites = read_locations(path("locations.txt"))

    letters = {}
    for r in listed:
        letters[r["cat"]] = letters.get(r["cat"], 0) + 1
    print("messier.txt   %5d objects" % len(messier))
    print("Sac72.txt     %5d flagged %s, %d other" % (len(listed), sorted(letters.items()),
                                                       len(other)))
    print("revngc.txt    %5d objects" % len(ngc))
    print("revic.txt     %5d objects" % len(ic))
    print("gdstars.txt   %5d stars" % len(stars))
    print("locations.txt %5d sites, %d header lines" % (len(sites), len(headers)))
    last = len(messier) + 500 + len(other) + len(ngc) + len(ic) - 1
    print("highest store slot: %d (store holds 0..25000)" % last)

    if len(messier) != 110:
        fail("expected 110 Messier objects")
    if len(listed) > 500 or letters.get("", 0):
        fail("flagged run too large or holds unflagged lines")
    if not 8000 <= len(listed) + len(other) <= 11000:
        fail("SAC database size outside 8000..11000")
    if len(ngc) < 6500 or len(ic) < 2000:
        fail("too few NGC or IC objects")
    if last > 25000:
        fail("the objects do not fit the store")
    if len(stars) < 150 or any(s["mag"] > 3.5 for s in stars):
        fail("guide stars: fewer than 150 or fainter than 3.5")
    if len(headers) != 2 or sum(s["primary"] for s in sites) != 1:
        fail("locations: need two header lines and exactly one primary site")

    print("\nSample records:")
    for r in messier[:3] + listed[:3] + other[:2] + ngc[:2] + ic[:2]:
        print("      " + show(r))

    print("\nKnown objects:")
    expect(messier, "M 31/NGC 224", 10.6847, 41.2687, 3.4, "messier")
    expect(messier, "M 42/NGC 1976", 83.8221, -5.3911, 4.0, "messier")
    expect(messier, "M 24/IC 4715", 274.2, -18.5, None, "messier")
    expect(messier, "M 45", 56.75, 24.1167, 1.2, "messier")
    expect(ngc, "NGC 7000", 314.75, 44.52, 4.0, "ngc")
    expect(ngc, "NGC 224", 10.6847, 41.2687, 3.4, "ngc")
    expect(ic, "IC 434", 85.25, -2.45, None, "ic")
    expect(ic, "IC 342", 56.70, 68.10, None, "ic")
    expect(listed, "NGC 7000", 314.75, 44.52, 4.0, "sac")
    expect(listed, "NGC 869", 34.74, 57.13, 3.8, "sac")
    expect(listed, "Mel 25", 66.75, 16.0, None, "sac")
    expect(other, "B 33", 85.25, -2.46, None, "sac")
    for name, ra, dec, mag in (("Vega", 279.2347, 38.7837, 0.03),
                               ("Albireo", 292.6804, 27.9597, 3.05),
                               ("Polaris", 37.9546, 89.2641, 1.98),
                               ("Acrux", 186.6496, -63.0991, 0.77)):
        s = [x for x in stars if x["desig"] == name]
        if not s:
            fail("star %s not found" % name)
            continue
        sep = separation(guide_ra_deg(s[0]), dec_deg(s[0]), ra, dec)
        if sep > 0.1 or abs(s[0]["mag"] - mag) > 0.2:
            fail("star %s off by %.3f deg / mag %.2f" % (name, sep, s[0]["mag"]))
        print("  ok  star %-14s RA %8.4f Dec %+8.4f mag %5.2f" % (
            name, guide_ra_deg(s[0]), dec_deg(s[0]), s[0]["mag"]))

    # Every list entry is flagged, and its letter is the last of B, C, H whose list holds it.
    by_desig = {r["desig"].rstrip(): r for r in listed}
    expected = {}
    for fn, col, flag in (("best-ngc.txt", 0, "B"), ("caldwell.txt", 1, "C"),
                          ("herschel400.txt", 0, "H")):
        missing = []
        for raw in open(os.path.join(HERE, "lists", fn), encoding="utf-8"):
            if raw.startswith("#") or not raw.strip():
                continue
            d = raw.rstrip("\r\n").split("\t")[col]
            d = re.sub(r" \(.*\)$", "", d)
            m = re.match(r"^(NGC|IC) (\d+)[/-]\d+$", d)
            if m:
                d = "%s %s" % (m.group(1), m.group(2))
            expected[d] = flag
            r = by_desig.get(d)
            if r is None or flag not in r["flags"]:
                missing.append(d)
        if missing:
            fail("%s entries not flagged %s: %s" % (fn, flag, ", ".join(missing)))
    wrong = [d for d, flag in expected.items() if d in by_desig and by_desig[d]["cat"] != flag]
    if wrong:
        fail("list letters against the B, C, H priority: %s" % ", ".join(wrong))
    print("  ok  %d list entries, %d flagged lines" % (len(expected), len(listed)))

    primary = [s for s in sites if s["primary"]]
    for s in sites:
        print("  site %s%-36s lat %s lon %s tz %+d" % ("*" if s["primary"] else " ", s["name"],
                                                     s["lat"], s["lon"], s["tz"]))
    if primary and not primary[0]["name"]:
        fail("primary site has no name")

    print("\n%s" % ("all checks passed" if not failures else "%d checks failed" % len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
