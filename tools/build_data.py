#!/usr/bin/env python3
"""Builds Zenitor's six data files from open sources.

    python3 tools/build_data.py --d3 /path/to/d3-celestial/data [--stellarium DIR]
                                [--openngc FILE] [--out DIR]

Sources:
  * Stellarium's deep-sky catalogue and common names (GPL-2.0-or-later) from Debian's
    stellarium-data package, /usr/share/stellarium/nebulae/default/: B and V magnitudes, names.
  * OpenNGC (CC-BY-SA-4.0) as the SQLite catalogue shipped by Debian's kstars-data package,
    /usr/share/kstars/OpenNGC.kscat: positions, types, sizes, duplicates and Messier numbers of
    the NGC and IC objects.
  * d3-celestial (BSD-3-Clause), its data/ directory: messier.json (Messier types and
    magnitudes), dsos.20.json (other deep-sky catalogues, magnitudes), stars.6.json with
    starnames.json (guide stars).
  * tools/lists/: the Herschel 400, Caldwell and Best NGC observing lists.

Each object gets one magnitude by the rule of data/README.md (choose_magnitude), written on all
of its lines. Writes messier.txt, Sac72.txt, revngc.txt, revic.txt, gdstars.txt and
locations.txt into the output directory (default: data/ beside this tool), Latin-1, CR LF line
ends, in the fixed columns the program's readers use. Python 3 standard library only; the
program's build never runs this tool.
"""

import argparse
import json
import math
import os
import re
import sqlite3
import sys
import unicodedata

import stellarium

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OPENNGC = "/usr/share/kstars/OpenNGC.kscat"

# Lettered parts of NGC and IC numbers (NGC 5195A style) this bright or brighter are offered in
# the plain SAC run under their full designation.
LETTERED_PART_MAG_LIMIT = 14.0
# A Stellarium record with an object's number counts only this close (degrees) to its position.
STELLARIUM_MATCH_RADIUS = 0.25
# Two visual magnitudes further apart than this disagree (see choose_magnitude).
DISAGREEMENT = 1.0

# Magnitude limits of the plain SAC run: NGC and IC objects, and the objects of the other
# deep-sky catalogues that come with a visual magnitude. Chosen to give a database of about
# ten thousand lines.
SAC_NGC_IC_MAG_LIMIT = 15.0
SAC_OTHER_MAG_LIMIT = 15.0

# Guide stars: proper-named stars this bright or brighter.
GUIDE_STAR_MAG_LIMIT = 3.5

GREEK = {
    "α": "alf", "β": "bet", "γ": "gam", "δ": "del", "ε": "eps", "ζ": "zet", "η": "eta",
    "θ": "tet", "ι": "iot", "κ": "kap", "λ": "lam", "μ": "mu", "ν": "nu", "ξ": "ksi",
    "ο": "omi", "π": "pi", "ρ": "rho", "σ": "sig", "τ": "tau", "υ": "ups", "φ": "phi",
    "χ": "chi", "ψ": "psi", "ω": "ome",
}


# ----------------------------------------------------------------------------- text helpers


def latin1(text):
    """The text with every character that Latin-1 cannot hold replaced by a near equivalent."""
    out = []
    for ch in text or "":
        if ch in GREEK:
            out.append(GREEK[ch])
            continue
        if ch in "\u2009\u200a\u202f\u00a0\u200e\u200f":
            out.append(" " if ch != "\u200e" and ch != "\u200f" else "")
            continue
        if ch in "\u2018\u2019\u02bc":
            out.append("'")
            continue
        if ch in "\u201c\u201d":
            out.append('"')
            continue
        if ch in "\u2013\u2014\u2212":
            out.append("-")
            continue
        try:
            ch.encode("latin-1")
            out.append(ch)
        except UnicodeEncodeError:
            base = unicodedata.normalize("NFKD", ch).encode("latin-1", "ignore").decode("latin-1")
            out.append(base if base else "?")
    return "".join(out)


class Line:
    """A fixed-column text line; columns are 1-based as in the readers."""

    def __init__(self, width):
        self.chars = [" "] * width

    def put(self, col, text, width=None):
        text = latin1(text)
        if width is not None:
            text = text[:width].ljust(width)
        end = col - 1 + len(text)
        if end > len(self.chars):
            self.chars.extend([" "] * (end - len(self.chars)))
        self.chars[col - 1:end] = list(text)

    def text(self, keep=0):
        """The line without trailing blanks, but at least `keep` characters long."""
        s = "".join(self.chars).rstrip(" ")
        return s.ljust(keep)


def write_file(path, lines):
    with open(path, "wb") as f:
        for line in lines:
            f.write(latin1(line).encode("latin-1") + b"\r\n")


# ----------------------------------------------------------------------------- angle helpers


def ra_parts(ra_deg, unit):
    """Right ascension in degrees split into (hours, rest) where rest counts `unit`ths of an hour
    (600 gives minutes with one decimal, 36000 seconds with one decimal); rounded, wrapping 24h."""
    total = round((ra_deg % 360.0) / 15.0 * unit)
    total %= 24 * unit
    return divmod(total, unit)


def dec_parts(dec_deg, unit):
    """Declination split into (sign, degrees, rest in 1/unit of a degree), rounded."""
    sign = "-" if dec_deg < 0 else "+"
    total = round(abs(dec_deg) * unit)
    d, rest = divmod(total, unit)
    if total == 0:
        sign = "+"
    return sign, d, rest


def angular_distance(ra1, dec1, ra2, dec2):
    """Angle between two positions, all in degrees."""
    r = math.radians
    s = (math.sin(r(dec1)) * math.sin(r(dec2))
         + math.cos(r(dec1)) * math.cos(r(dec2)) * math.cos(r(ra1 - ra2)))
    return math.degrees(math.acos(max(-1.0, min(1.0, s))))


class SkyGrid:
    """Positions binned by whole degrees of declination for neighbour searches."""

    def __init__(self):
        self.bins = {}

    def add(self, ra, dec, item):
        self.bins.setdefault(int(math.floor(dec)), []).append((ra, dec, item))

    def near(self, ra, dec, radius_deg):
        lo = int(math.floor(dec - radius_deg))
        hi = int(math.floor(dec + radius_deg))
        for b in range(lo, hi + 1):
            for ra2, dec2, item in self.bins.get(b, ()):
                if angular_distance(ra, dec, ra2, dec2) <= radius_deg:
                    yield item


# ----------------------------------------------------------------------------- sources


class NgcEntry:
    __slots__ = ("cat", "num", "suffix", "part", "ktype", "ra", "dec", "mag",
                 "messier", "major", "minor", "master", "type_number")


def load_openngc(path):
    con = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
    rows = con.execute(
        "select type, ra, dec, magnitude, name, long_name, catalog_identifier, major_axis, "
        "minor_axis from cat").fetchall()
    version = con.execute("select source from catalogs where name = 'OpenNGC'").fetchone()
    con.close()
    entries = []
    messier_only = {}
    ident_re = re.compile(r"^(NGC|IC)(\d{4})([A-Z]*)(?: NED(\d+))?$")
    for ktype, ra, dec, mag, name, long_name, ident, major, minor in rows:
        m_num = None
        m = re.match(r"^M (\d+)$", name or "")
        if m:
            m_num = int(m.group(1))
        else:
            m = re.search(r"\bM (\d+)\b", long_name or "")
            if m:
                m_num = int(m.group(1))
        im = ident_re.match(ident or "")
        if not im:
            # Messier objects outside NGC and IC (M 40, M 45).
            if m_num is not None:
                messier_only[m_num] = (ktype, ra, dec, mag)
            continue
        e = NgcEntry()
        e.cat = im.group(1)
        e.num = int(im.group(2))
        e.suffix = im.group(3)
        e.part = int(im.group(4)) if im.group(4) else 0
        e.ktype = ktype
        e.ra = ra
        e.dec = dec
        e.mag = mag if mag is not None and mag > 0 else None
        e.messier = m_num
        e.major = major
        e.minor = minor
        e.master = None
        e.type_number = 0
        entries.append(e)
    entries.sort(key=lambda e: (e.cat, e.num, e.suffix, e.part))
    src = version[0] if version else ""
    m = re.search(r"tag/(v\d+)", src)
    return entries, messier_only, (m.group(1) if m else "unknown")


# KStars object types in the OpenNGC catalogue file, mapped to the type numbers of the NGC and IC
# files (1 galaxy, 2 supernova remnant, 3 nebula, 4 open cluster, 5 globular cluster,
# 6 part of a galaxy, 7 duplicate, 9 star(s), 10 not found).
KSTARS_TO_TYPE_NUMBER = {
    8: 1,    # galaxy
    14: 1,   # galaxy pair, triplet or group
    7: 2,    # supernova remnant
    6: 3,    # planetary nebula
    5: 3,    # bright nebula (emission, reflection, HII, cluster with nebula)
    3: 4,    # open cluster
    4: 5,    # globular cluster
    0: 9,    # star
    17: 9,   # double or multiple star
    13: 9,   # asterism or star association
}


def classify_ngc(entries):
    """Sets type_number and, for duplicate entries, master on every entry."""
    grid = SkyGrid()
    galaxies = SkyGrid()
    for e in entries:
        if e.ktype != 255:
            grid.add(e.ra, e.dec, e)
        if e.ktype == 8 and e.major and e.major >= 2.0 and e.part == 0:
            galaxies.add(e.ra, e.dec, e)
    for e in entries:
        if e.ktype == 255:
            # The catalogue gives a duplicate the position of the entry it repeats; an unknown
            # entry with no other object at its place is one that was never found again.
            best = None
            for other in grid.near(e.ra, e.dec, 1.0 / 60):
                d = angular_distance(e.ra, e.dec, other.ra, other.dec)
                if best is None or d < best[0]:
                    best = (d, other)
            if best is not None:
                e.master = best[1]
                e.type_number = 7
            else:
                e.type_number = 10
            continue
        t = KSTARS_TO_TYPE_NUMBER.get(e.ktype, 0)
        if e.ktype == 5:
            # An HII region inside a galaxy's outline is a part of that galaxy.
            for g in galaxies.near(e.ra, e.dec, 0.5):
                if g is not e and angular_distance(e.ra, e.dec, g.ra, g.dec) < g.major / 120.0:
                    t = 6
                    break
        e.type_number = t


def load_json(d3dir, name):
    with open(os.path.join(d3dir, name), encoding="utf-8") as f:
        return json.load(f)


def d3_mag(value):
    try:
        m = float(value)
    except (TypeError, ValueError):
        return None
    return m if m < 90 else None


def d3_position(feature):
    lon, lat = feature["geometry"]["coordinates"]
    return lon % 360.0, lat


def designation_key(text):
    """('NGC', 224) style key of a designation such as 'NGC 224' or 'IC 342', else None."""
    m = re.match(r"^(NGC|IC)\s*0*(\d+)$", text.strip())
    return (m.group(1), int(m.group(2))) if m else None


# ----------------------------------------------------------------------------- magnitudes


# A visual value this much fainter than the object's B is not the object's: integrated light is
# never that blue. Such values belong to a component or are slips in the source.
BLUER_THAN_POSSIBLE = 0.5


def choose_magnitude(visual, blue, other, check=None):
    """The rule of data/README.md. `visual` lists the V magnitudes of the sources in order of
    preference (Stellarium first), `blue` Stellarium's B, `other` OpenNGC's value, whose band
    the catalogue file does not say; a visual value fainter than `check` (a B) by more than
    BLUER_THAN_POSSIBLE is dropped. Returns (magnitude or None, 'V', 'B' or 'other')."""
    visual = [v for v in visual
              if v is not None and (check is None or v <= check + BLUER_THAN_POSSIBLE)]
    if visual:
        # The value most sources agree with; Stellarium's when they agree or tie.
        support = [sum(abs(v - w) <= DISAGREEMENT for w in visual) for v in visual]
        return visual[support.index(max(support))], "V"
    if blue is not None:
        return blue, "B"
    if other is not None:
        return other, "other"
    return None, ""


class Magnitudes:
    """One magnitude per object, the same on its Messier, SAC and NGC/IC lines."""

    def __init__(self, stel, d3_features, messier_features, messier_refs, entries):
        self.stel = stel
        self.aliases = {}
        for e in entries:
            if e.master is not None and not e.suffix and not e.part:
                master = (e.master.cat, str(e.master.num))
                self.aliases.setdefault(master, []).append((e.cat, str(e.num)))
        self.d3 = {}
        for f in d3_features:
            self.d3.setdefault(f["properties"]["desig"], d3_mag(f["properties"]["mag"]))
        self.messier_mag = {}
        for f in messier_features:
            num = int(re.sub(r"\D", "", f["id"]))
            self.messier_mag[num] = d3_mag(f["properties"]["mag"])
        self.messier_of = {ref: num for num, ref in messier_refs.items() if ref}
        self.cache = {}
        self.kinds = {}
        self.disagreements = 0

    @staticmethod
    def nearest(records, ra, dec):
        """The record nearest to the position, if within STELLARIUM_MATCH_RADIUS degrees."""
        best = None
        for r in records:
            d = angular_distance(ra, dec, math.degrees(r["ra"]), math.degrees(r["dec"]))
            if d <= STELLARIUM_MATCH_RADIUS and (best is None or d < best[0]):
                best = (d, r)
        return best[1] if best else None

    def of(self, prefix, ident, ra, dec, other=None, messier=None):
        """Magnitude of the object with designation `prefix ident` at (ra, dec) in degrees."""
        key = (prefix, str(ident))
        if key in self.cache:
            return self.cache[key]
        if messier is None and prefix in ("NGC", "IC"):
            messier = self.messier_of.get((prefix, int(ident)))
        # Stellarium may file the object under its Messier number or under a number OpenNGC
        # keeps as its duplicate.
        names = [key] + ([("M", messier)] if messier else []) + self.aliases.get(key, [])
        record = None
        for name in names:
            record = record or self.nearest(self.stel.find(*name), ra, dec)
        stel_v = stellarium.magnitude(record["v"]) if record else None
        stel_b = stellarium.magnitude(record["b"]) if record else None
        visual = [stel_v]
        if messier:
            visual += [self.messier_mag.get(messier), self.d3.get("M %d" % messier)]
        d3 = self.d3.get("%s %s" % (prefix, ident))
        # d3-celestial copies an older Stellarium catalogue; its value is a B where that
        # catalogue had no V.
        if d3 is not None and not (stel_b is not None and abs(d3 - stel_b) < 0.01):
            visual.append(d3)
        # The Messier list is a visual source of its own: Stellarium's B does not overrule it.
        check = None if messier and self.messier_mag.get(messier) is not None else stel_b
        mag, kind = choose_magnitude(visual, stel_b, other, check)
        present = [v for v in visual if v is not None]
        if present and max(present) - min(present) > DISAGREEMENT:
            self.disagreements += 1
        if mag is not None:
            mag = round(mag, 1)
        self.cache[key] = mag
        self.kinds[key] = kind
        if messier:
            self.cache[("M", str(messier))] = mag
        return mag


# ----------------------------------------------------------------------------- lists


def read_list(path):
    rows = []
    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.rstrip("\r\n")
            if not line.strip() or line.startswith("#"):
                continue
            rows.append(line.split("\t"))
    return rows


def expand_group(designation):
    """Members of a list entry: 'NGC 869/884' and 'NGC 6992/5' name two objects; a range such as
    'NGC 2237-9' names one object (a nebula with several numbers) and stands for its first."""
    m = re.match(r"^(NGC|IC) (\d+)([/-])(\d+)$", designation)
    if not m:
        return [designation]
    first = m.group(2)
    if m.group(3) == "-":
        return ["%s %s" % (m.group(1), first)]
    second = m.group(4)
    if len(second) < len(first):
        second = first[:len(first) - len(second)] + second
    return ["%s %s" % (m.group(1), first), "%s %s" % (m.group(1), second)]


# ----------------------------------------------------------------------------- Messier file

MESSIER_TYPE = {
    "s": "GX", "e": "GX", "i": "GX", "s0": "GX", "sd": "GX", "g": "GX",
    "gc": "GC", "oc": "OC", "pn": "PN", "sfr": "BN", "rn": "BN", "en": "BN", "bn": "BN",
    "snr": "BN",
}
# Messier objects of d3-celestial type "pos" (star cloud, double star, asterism).
MESSIER_SPECIAL_TYPE = {24: "MW", 40: "*2", 73: "OC"}


def messier_objects(feats, by_key):
    """(number, NGC or IC key or None, OpenNGC entry or None, d3-celestial feature) per object."""
    by_m = {}
    for e in by_key.values():
        if e.messier is not None and e.part == 0 and not e.suffix:
            by_m.setdefault(e.messier, e)
    out = []
    for f in feats:
        p = f["properties"]
        num = int(re.sub(r"\D", "", f["id"]))
        ref = None
        m = re.match(r"^(NGC|IC) (\d+)", p.get("desig") or "")
        if m:
            ref = (m.group(1), int(m.group(2)))
        entry = by_key.get(ref) if ref else None
        if entry is None:
            entry = by_m.get(num)
            if entry is not None and ref is None:
                ref = (entry.cat, entry.num)
        out.append((num, ref, entry, f))
    return out


def build_messier(objects, messier_only, names, mags):
    records = []
    for num, ref, entry, f in objects:
        p = f["properties"]
        if entry is not None:
            ra, dec = entry.ra, entry.dec
        elif num in messier_only:
            ra, dec = messier_only[num][1], messier_only[num][2]
        else:
            ra, dec = d3_position(f)
        code = MESSIER_SPECIAL_TYPE.get(num) or MESSIER_TYPE.get(p["type"], "  ")
        name = names.get("M %d" % num) or (names.get("%s %d" % ref) if ref else None) or ""
        other = entry.mag if entry is not None else None
        if ref:
            mag = mags.of(ref[0], ref[1], ra, dec, other, messier=num)
        else:
            mag = mags.of("M", num, ra, dec, other)
        records.append(dict(num=num, code=code, mag=mag, ra=ra, dec=dec, ref=ref, name=name))
    records.sort(key=lambda r: r["num"])
    lines = ["Messier catalogue: number, type, visual magnitude, position (J2000), NGC or IC "
             "number, common name"]
    for r in records:
        ln = Line(69)
        ln.put(1, "[ ]")
        ln.put(5, "%3d" % r["num"])
        ln.put(10, r["code"], 2)
        # The magnitude ends in "v" so that reading it stops before the position columns.
        ln.put(19, "%5.1fv" % r["mag"])
        h, m10 = ra_parts(r["ra"], 600)
        ln.put(26, "%02d%04.1f" % (h, m10 / 10.0))
        sign, d, m10 = dec_parts(r["dec"], 600)
        ln.put(33, "%s%02d%04.1f" % (sign, d, m10 / 10.0))
        if r["ref"]:
            if r["ref"][0] == "IC":
                ln.put(53, "IC")
            ln.put(55, "%4d" % r["ref"][1])
        if r["name"]:
            ln.put(70, fit_words(r["name"], 70))
        lines.append(ln.text())
    return lines, records


# ----------------------------------------------------------------------------- NGC and IC files


def build_ngc_ic(entries, cat, mags):
    """One line per object: lettered parts, NED components and the numbers OpenNGC keeps as
    duplicates of another stay out (the reader would show a part under the bare number)."""
    lines = ["%-4s %-3s Ty       RA (J2000)  Dec (J2000) Mag" % (cat, "")]
    count = 0
    for e in entries:
        if e.cat != cat or e.suffix or e.part or e.ktype == 255:
            continue
        ln = Line(44)
        ln.put(1, "%4d" % e.num)
        ln.put(8, "%2d" % e.type_number)
        h, s10 = ra_parts(e.ra, 36000)
        m, s10 = divmod(s10, 600)
        ln.put(18, "%02d %02d %04.1f" % (h, m, s10 / 10.0))
        sign, d, s10 = dec_parts(e.dec, 36000)
        m, s10 = divmod(s10, 600)
        ln.put(29, "%s%02d %02d %04.1f" % (sign, d, m, s10 / 10.0))
        mag = mags.of(e.cat, e.num, e.ra, e.dec, e.mag) or 0.0
        text = "%4.1f" % mag
        if mag > 0 and float(text) <= 0:
            text = " 0.1"
        ln.put(41, text)
        if float(text) > 0:
            count += 1
        lines.append(ln.text())
    return lines, count


# ----------------------------------------------------------------------------- SAC file

KSTARS_TO_SAC = {
    8: "GALXY", 14: "GALCL", 7: "SNREM", 6: "PLNNB", 5: "BRTNB", 3: "OPNCL", 4: "GLOCL",
    0: "1STAR", 17: "2STAR", 13: "ASTER",
}
D3_TO_SAC = {
    "s": "GALXY", "e": "GALXY", "i": "GALXY", "s0": "GALXY", "sd": "GALXY", "g": "GALXY",
    "gg": "GALCL", "oc": "OPNCL", "gc": "GLOCL", "pn": "PLNNB", "bn": "BRTNB", "en": "BRTNB",
    "rn": "BRTNB", "sfr": "CL+NB", "dn": "DRKNB", "snr": "SNREM", "pos": "ASTER",
}

# Designation prefixes of d3-celestial's other deep-sky catalogues taken into the SAC run.
D3_OTHER_PREFIXES = ("Cr", "Mel", "B", "Sh2", "VdB", "VdBH", "Ced", "ACO", "Abell", "PK",
                     "UGC", "ESO", "Arp", "VV", "DWB")
# Dark nebulae and Sharpless nebulae are taken without a magnitude (the program treats a
# magnitude of 0 as unknown); of the other catalogues only objects with a magnitude.
D3_WITHOUT_MAG_PREFIXES = ("B", "Sh2")


def refine_sac_type(sac_type, ktype, d3_feature):
    """OpenNGC's nebula and cluster types as the catalogue file gives them do not tell a cluster
    with nebulosity or a dark nebula apart; d3-celestial's type does."""
    if d3_feature is None:
        return sac_type
    d3_type = d3_feature["properties"]["type"]
    if ktype == 5 and d3_type in ("oc", "sfr"):
        return "CL+NB"
    if ktype == 5 and d3_type == "dn":
        return "DRKNB"
    if ktype == 3 and d3_type == "sfr":
        return "CL+NB"
    return sac_type


def size_note(major, minor):
    if not major:
        return ""
    if minor and abs(minor - major) > 1e-9:
        return "%s'x%s'" % (fmt_size(major), fmt_size(minor))
    return "%s'" % fmt_size(major)


def fmt_size(v):
    s = ("%.1f" % v).rstrip("0").rstrip(".")
    return s or "0"


def d3_size(dim):
    m = re.match(r"^\s*([\d.]+)(?:x([\d.]+))?", dim or "")
    if not m:
        return None, None
    try:
        major = float(m.group(1))
        minor = float(m.group(2)) if m.group(2) else None
    except ValueError:
        return None, None
    return major, minor


def sac_line(name, other, sac_type, ra, dec, mag, flags, list_ids, notes):
    ln = Line(215)
    ln.put(2, name, 16)
    ln.put(19, other, 23)
    ln.put(42, sac_type, 5)
    h, m10 = ra_parts(ra, 600)
    ln.put(56, "%02d %04.1f" % (h, m10 / 10.0))
    sign, d, m = dec_parts(dec, 60)
    ln.put(66, "%s%02d %02d" % (sign, d, m))
    if mag is not None:
        ln.put(75, "%4.1f" % mag)
    ln.put(158, flags, 3)
    ln.put(162, list_ids, 50)
    if notes:
        ln.put(214, fit_words(notes, 70))
    return ln.text(keep=215)


def join_notes(*parts):
    return "; ".join(p for p in parts if p)


def fit_words(text, width):
    """The text cut to the width at a word boundary, never inside a word."""
    text = latin1(text)
    if len(text) <= width:
        return text
    cut = text[:width + 1].rsplit(" ", 1)[0].rstrip(" ,;-")
    return cut if len(cut) <= width else text[:width]


def notes_text(*parts):
    """The notes shown in 70 characters: as many parts as fit whole, the first one cut at a
    word boundary if it is too long itself."""
    parts = [p for p in parts if p]
    while len(parts) > 1 and len(join_notes(*parts)) > 70:
        parts.pop()
    return fit_words(join_notes(*parts), 70)


# Designation prefixes of d3-celestial and the catalogue fields of Stellarium they match.
STELLARIUM_FIELD = {"Cr": "Cr", "Mel": "Mel", "B": "B", "Sh2": "Sh2", "VdB": "VdB", "UGC": "UGC",
                    "Arp": "Arp", "VV": "VV", "DWB": "DWB", "Ced": "Ced", "PK": "PK",
                    "ACO": "ACO", "ESO": "ESO", "VdBH": "VdBH"}


def other_catalogue_mag(mags, desig, ra, dec, d3_feature):
    """Magnitude of an object outside NGC and IC by the same rule as the others."""
    m = re.match(r"^([A-Za-z]+\d?)\s*(.*)$", desig)
    field = STELLARIUM_FIELD.get(m.group(1)) if m else None
    if field is None:
        if d3_feature is None:
            return None
        mag = d3_mag(d3_feature["properties"]["mag"])
        return round(mag, 1) if mag is not None else None
    return mags.of(field, m.group(2).strip().lstrip("-"), ra, dec)


def build_sac(entries, by_key, d3, lists_dir, names, mags):
    d3_by_desig = {}
    for f in d3:
        d3_by_desig.setdefault(f["properties"]["desig"], f)
        d3_by_desig.setdefault(f["id"], f)

    def name_of(key_texts, entry=None):
        for k in key_texts:
            if names.get(k):
                return names[k]
        if entry is not None and entry.messier and names.get("M %d" % entry.messier):
            return names["M %d" % entry.messier]
        return ""

    # List membership: designation -> dict(flags set, ids)
    members = {}
    order = []
    gaps = []

    def add(desig, flag, ident, pos=None):
        if desig not in members:
            members[desig] = dict(flags=set(), ids=[], pos=pos)
            order.append(desig)
        members[desig]["flags"].add(flag)
        if ident:
            members[desig]["ids"].append(ident)
        if pos and not members[desig]["pos"]:
            members[desig]["pos"] = pos

    for row in read_list(os.path.join(lists_dir, "herschel400.txt")):
        add(row[0], "H", row[1] if len(row) > 1 else "")
    for row in read_list(os.path.join(lists_dir, "caldwell.txt")):
        pos = (row[2], row[3]) if len(row) > 3 else None
        for member in expand_group(row[1]):
            add(member, "C", row[0], pos)
    for row in read_list(os.path.join(lists_dir, "best-ngc.txt")):
        add(row[0], "B", "Best NGC")

    flagged_lines = []
    flagged_keys = set()
    flagged_positions = []
    for desig in order:
        info = members[desig]
        flags = "".join(c if c in info["flags"] else " " for c in "BCH")
        ids = ", ".join(info["ids"])
        key = designation_key(desig)
        entry = by_key.get(key) if key else None
        if entry is not None:
            flagged_keys.add(key)
            data = entry.master if entry.master is not None else entry
            d3f = d3_by_desig.get("%s %d" % key)
            # A list number that OpenNGC keeps as a duplicate is the object of the entry it
            # repeats: that entry's magnitude, and no second line for it in the plain run.
            mag = mags.of(data.cat, data.num, data.ra, data.dec, data.mag)
            flagged_keys.add((data.cat, data.num))
            sac_type = KSTARS_TO_SAC.get(data.ktype, "")
            sac_type = refine_sac_type(sac_type, data.ktype, d3f)
            other = "M %d" % data.messier if data.messier else ""
            if data is not entry:
                other = join_notes(other, "%s %d" % (data.cat, data.num)).replace("; ", " ")
            name = name_of(["%s %d" % key, "%s %d" % (data.cat, data.num)], data)
            notes = notes_text(name, size_note(data.major, data.minor))
            ra, dec = entry.ra, entry.dec
            if mag is None:
                gaps.append("%s: no magnitude in the sources" % desig)
            flagged_lines.append(sac_line(desig, other, sac_type, ra, dec, mag, flags, ids,
                                          notes))
            flagged_positions.append((ra, dec, sac_type))
            continue
        # An object outside NGC and IC: the list gives its position, d3-celestial the rest.
        label = desig
        extra = ""
        m = re.match(r"^(.*?) \((.*)\)$", desig)
        if m:
            label, extra = m.group(1), m.group(2)
        caldwell_id = info["ids"][0] if info["ids"] else ""
        d3f = d3_by_desig.get(caldwell_id) or d3_by_desig.get(label.replace("-", " "))
        if info["pos"]:
            rh, rm = info["pos"][0].split()
            ra = (int(rh) + float(rm) / 60.0) * 15.0
            dsign = -1 if info["pos"][1].strip().startswith("-") else 1
            dd, dm = info["pos"][1].strip().lstrip("+-").split()
            dec = dsign * (int(dd) + float(dm) / 60.0)
        elif d3f is not None:
            ra, dec = d3_position(d3f)
        else:
            gaps.append("%s: no position in the sources" % desig)
            continue
        sac_type = D3_TO_SAC.get(d3f["properties"]["type"], "") if d3f is not None else ""
        mag = other_catalogue_mag(mags, label, ra, dec, d3f)
        if sac_type == "DRKNB":
            mag = None  # a dark nebula's "magnitude" in the source is its opacity class
        major, minor = d3_size(d3f["properties"].get("dim")) if d3f is not None else (None, None)
        name = extra or name_of([caldwell_id, label.replace("-", " ")])
        if mag is None:
            gaps.append("%s: no magnitude in the sources" % desig)
        flagged_lines.append(sac_line(label, "", sac_type, ra, dec, mag, flags, ids,
                                      notes_text(name, size_note(major, minor))))
        flagged_positions.append((ra, dec, sac_type))

    # The plain run: NGC and IC objects with a magnitude, then the other catalogues.
    plain = []
    taken = SkyGrid()
    for ra, dec, sac_type in flagged_positions:
        taken.add(ra, dec, sac_type)
    for e in entries:
        if e.part or e.ktype == 255:
            continue
        if e.suffix:
            # A lettered part: only a bright one, under its full designation.
            mag = e.mag
            if mag is None or mag > LETTERED_PART_MAG_LIMIT:
                continue
            desig = "%s %d%s" % (e.cat, e.num, e.suffix)
        else:
            mag = mags.of(e.cat, e.num, e.ra, e.dec, e.mag)
            desig = "%s %d" % (e.cat, e.num)
        if mag is None or (e.cat, e.num) in flagged_keys and not e.suffix:
            continue
        if mag > SAC_NGC_IC_MAG_LIMIT:
            continue
        sac_type = KSTARS_TO_SAC.get(e.ktype, "")
        d3f = d3_by_desig.get(desig)
        sac_type = refine_sac_type(sac_type, e.ktype, d3f)
        if e.type_number == 6:
            sac_type = "BRTNB"
        other = "M %d" % e.messier if e.messier and not e.suffix else ""
        name = name_of([desig], None if e.suffix else e)
        size = size_note(e.major, e.minor)
        notes = notes_text(name, "HII region in a galaxy" if e.type_number == 6 else "", size)
        plain.append(((0 if e.cat == "NGC" else 1, e.suffix, e.num),
                      sac_line(desig, other, sac_type, e.ra, e.dec, mag, "", "", notes)))
        taken.add(e.ra, e.dec, sac_type)

    others = 0
    seen = set()
    for f in d3:
        p = f["properties"]
        desig = p["desig"]
        m = re.match(r"^([A-Za-z]+\d?)\s*(.*)$", desig)
        if not m or m.group(1) not in D3_OTHER_PREFIXES or desig in seen:
            continue
        prefix = m.group(1)
        sac_type = D3_TO_SAC.get(p["type"], "")
        ra, dec = d3_position(f)
        mag = other_catalogue_mag(mags, desig, ra, dec, f) if sac_type != "DRKNB" else None
        if mag is None and prefix not in D3_WITHOUT_MAG_PREFIXES:
            continue
        if mag is not None and mag > SAC_OTHER_MAG_LIMIT:
            continue
        if any(t == sac_type for t in taken.near(ra, dec, 1.0 / 60)):
            continue  # the same object under its NGC, IC or list designation
        seen.add(desig)
        major, minor = d3_size(p.get("dim"))
        name = name_of([desig, f["id"]])
        num = re.match(r"^(\d+)", m.group(2))
        plain.append(((2, prefix, int(num.group(1)) if num else 0),
                      sac_line(desig, "", sac_type, ra, dec, mag, "", "",
                               notes_text(name, size_note(major, minor)))))
        taken.add(ra, dec, sac_type)
        others += 1

    plain.sort(key=lambda x: x[0])
    header = Line(215)
    header.put(2, "OBJECT")
    header.put(19, "OTHER")
    header.put(42, "TYPE")
    header.put(56, "RA")
    header.put(66, "DEC")
    header.put(75, "MAG")
    header.put(158, "BCH")
    header.put(162, "LISTS")
    header.put(214, "NOTES")
    lines = [header.text()] + flagged_lines + [l for _, l in plain]
    return lines, len(flagged_lines), len(plain), others, gaps


# ----------------------------------------------------------------------------- guide stars

# Proper names longer than the 14 columns of the star-name field.
SHORT_NAMES = {"Rigil Kentaurus": "Rigil Kent"}


def build_guide_stars(d3dir):
    stars = load_json(d3dir, "stars.6.json")["features"]
    names = load_json(d3dir, "starnames.json")
    chosen = []
    for f in stars:
        hip = str(f["id"])
        info = names.get(hip)
        mag = float(f["properties"]["mag"])
        if not info or not info.get("name") or mag > GUIDE_STAR_MAG_LIMIT:
            continue
        name = latin1(info["name"]).strip()
        name = SHORT_NAMES.get(name, name)
        bayer = latin1(info.get("bayer") or info.get("flam") or "")
        desig = ("%s %s" % (bayer, info.get("c", ""))).strip()
        ra, dec = d3_position(f)
        chosen.append((mag, int(hip), name, desig, ra, dec))
    chosen.sort()
    lines = ["HIP    Designation Name           Mag  RA (J2000)  Dec (J2000)"]
    for mag, hip, name, desig, ra, dec in chosen:
        ln = Line(60)
        ln.put(1, "%06d" % hip)
        ln.put(8, desig, 12)
        ln.put(20, name, 14)
        ln.put(35, "%5.2f" % mag)
        h, s10 = ra_parts(ra, 36000)
        m, s10 = divmod(s10, 600)
        ln.put(41, "%02d %02d %04.1f" % (h, m, s10 / 10.0))
        sign, d, s = dec_parts(dec, 3600)
        m, s = divmod(s, 60)
        ln.put(52, "%s%02d %02d %02d" % (sign, d, m, s))
        lines.append(ln.text())
    return lines, len(chosen)


# ----------------------------------------------------------------------------- sites

# Public observing sites: (lat d m s, lon d m s, time zone, DST, horizon N..NW, primary, name).
# South and West are negative in every part. DST flags as in the northern summer.
SITES = [
    ((41, 39, 46), (-77, -49, -24), -5, True, (8, 6, 5, 5, 6, 8, 8, 8), True,
     "Cherry Springs State Park, PA"),
    ((31, 57, 30), (-111, -35, -48), -7, False, (2, 2, 3, 3, 2, 1, 1, 2), False,
     "Kitt Peak National Observatory, AZ"),
    ((51, 28, 40), (0, 0, -5), 0, True, (15, 12, 10, 12, 10, 12, 15, 15), False,
     "Royal Observatory Greenwich"),
    ((-30, -10, -9), (-70, -48, -23), -4, False, (3, 3, 5, 4, 3, 2, 2, 3), False,
     "Cerro Tololo Observatory, Chile"),
    ((-31, -16, -24), (149, 3, 52), 10, False, (3, 3, 4, 5, 5, 3, 2, 2), False,
     "Siding Spring Observatory, NSW"),
    ((-32, -22, -46), (20, 48, 38), 2, False, (2, 2, 3, 3, 2, 2, 2, 2), False,
     "SAAO Sutherland, South Africa"),
    ((-43, -59, -10), (170, 27, 54), 12, False, (6, 4, 3, 3, 4, 6, 8, 8), False,
     "Mount John Observatory, Tekapo NZ"),
]


def build_locations():
    lines = [
        "Zenitor observing sites: latitude, longitude (deg min sec; South and West negative), "
        "time zone (hours, West negative), daylight saving Y/N,",
        "horizon altitudes N NE E SE S SW W NW (deg), primary Y/N, name",
    ]
    for lat, lon, tz, dst, horizon, primary, name in SITES:
        words = [str(v) for v in lat + lon] + [str(tz), "Y" if dst else "N"]
        words += [str(v) for v in horizon] + ["Y" if primary else "N", name]
        lines.append(" ".join(words))
    return lines


# ----------------------------------------------------------------------------- main


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--d3", required=True, help="the data/ directory of the d3-celestial package")
    ap.add_argument("--openngc", default=DEFAULT_OPENNGC, help="OpenNGC.kscat (SQLite)")
    ap.add_argument("--stellarium", default=stellarium.DEFAULT_DIR,
                    help="the directory of Stellarium's catalog.dat and names.dat")
    ap.add_argument("--lists", default=os.path.join(HERE, "lists"), help="observing lists")
    ap.add_argument("--out", default=os.path.join(os.path.dirname(HERE), "data"))
    args = ap.parse_args(argv)

    entries, messier_only, version = load_openngc(args.openngc)
    classify_ngc(entries)
    by_key = {}
    for e in entries:
        if not e.suffix and not e.part:
            by_key[(e.cat, e.num)] = e
    stel = stellarium.load_catalog(os.path.join(args.stellarium, "catalog.dat"))
    names = stellarium.load_names(os.path.join(args.stellarium, "names.dat"))
    d3 = load_json(args.d3, "dsos.20.json")["features"]
    messier_feats = load_json(args.d3, "messier.json")["features"]
    objects = messier_objects(messier_feats, by_key)
    mags = Magnitudes(stel, d3, messier_feats, {num: ref for num, ref, _, _ in objects}, entries)

    os.makedirs(args.out, exist_ok=True)
    out = lambda name: os.path.join(args.out, name)

    messier_lines, messier = build_messier(objects, messier_only, names, mags)
    write_file(out("messier.txt"), messier_lines)
    sac_lines, flagged, plain, others, gaps = build_sac(entries, by_key, d3, args.lists, names,
                                                        mags)
    write_file(out("Sac72.txt"), sac_lines)
    ngc_lines, ngc = build_ngc_ic(entries, "NGC", mags)
    write_file(out("revngc.txt"), ngc_lines)
    ic_lines, ic = build_ngc_ic(entries, "IC", mags)
    write_file(out("revic.txt"), ic_lines)
    star_lines, stars = build_guide_stars(args.d3)
    write_file(out("gdstars.txt"), star_lines)
    write_file(out("locations.txt"), build_locations())

    print("OpenNGC %s" % version)
    print("messier.txt   %5d objects" % len(messier))
    print("Sac72.txt     %5d flagged, %d plain (%d from other catalogues)" %
          (flagged, plain, others))
    print("revngc.txt    %5d lines, %d with a magnitude" % (len(ngc_lines) - 1, ngc))
    print("revic.txt     %5d lines, %d with a magnitude" % (len(ic_lines) - 1, ic))
    print("gdstars.txt   %5d stars" % stars)
    print("locations.txt %5d sites" % len(SITES))
    last_slot = len(messier) + 500 + plain + ngc + ic - 1
    print("highest store slot used: %d of 25000" % last_slot)
    kinds = {}
    for kind in mags.kinds.values():
        kinds[kind or "none"] = kinds.get(kind or "none", 0) + 1
    print("magnitudes chosen: %s; %d objects whose visual magnitudes disagree by more than %.1f"
          % (", ".join("%s %d" % kv for kv in sorted(kinds.items())), mags.disagreements,
             DISAGREEMENT))
    for g in gaps:
        print("gap: " + g)
    if flagged > 500 or last_slot > 25000:
        print("error: the files do not fit the object store", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
