"""Readers for Stellarium's deep-sky catalogue and its list of common names.

Debian's stellarium-data package installs both under /usr/share/stellarium/nebulae/default/:

  * catalog.dat: a gzip-compressed Qt data stream (format 3.16 in Stellarium 0.22). Two strings
    (format version, edition), then one record per object: id, RA and Dec (radians), B and V
    magnitude (99 when unknown), type, morphological type, axes, orientation, redshift,
    parallax, distance, then the numbers of the object in 29 catalogues (0 or empty when none).
  * names.dat: fixed columns, catalogue prefix in 1-5, identifier in 6-20, then _("name") and
    a comment naming the sources of that name (WK: well known). An object's first name is its
    primary one.
"""

import gzip
import re
import struct

DEFAULT_DIR = "/usr/share/stellarium/nebulae/default"
UNKNOWN_MAG = 99.0

# Field order and kind of a record: u = unsigned 32-bit, i = signed 32-bit, d = double, s = string.
RECORD = (
    [("id", "u"), ("ra", "d"), ("dec", "d"), ("b", "d"), ("v", "d"), ("type", "u"),
     ("morph", "s"), ("major", "d"), ("minor", "d"), ("orientation", "i"), ("z", "d"),
     ("z_err", "d"), ("plx", "d"), ("plx_err", "d"), ("dist", "d"), ("dist_err", "d")]
    + [(n, "u") for n in "NGC IC M C B Sh2 VdB RCW LDN LBN Cr Mel PGC UGC".split()]
    + [("Ced", "s"), ("Arp", "u"), ("VV", "u"), ("PK", "s"), ("PNG", "s"), ("SNRG", "s"),
       ("ACO", "s"), ("HCG", "s"), ("ESO", "s"), ("VdBH", "s"), ("DWB", "u"), ("Tr", "u"),
       ("St", "u"), ("Ru", "u"), ("VdBHa", "u")])

# Catalogue fields that identify an object, as the designation prefixes this tool uses.
IDENTIFIERS = ("NGC", "IC", "M", "C", "B", "Sh2", "VdB", "Cr", "Mel", "UGC", "Ced", "Arp", "VV",
               "PK", "ACO", "ESO", "VdBH", "DWB")


class Catalog:
    """The records, findable by a catalogue designation such as ('NGC', '4565')."""

    def __init__(self, records, version):
        self.records = records
        self.version = version
        self.index = {}
        for r in records:
            for field in IDENTIFIERS:
                value = r[field]
                if value:
                    self.index.setdefault((field, str(value).strip()), []).append(r)

    def find(self, prefix, ident):
        """Every record with this designation: some objects share a number with a companion or
        carry a wrong cross number, so the caller picks by position."""
        return self.index.get((prefix, str(ident).strip()), [])


def magnitude(value):
    return value if value is not None and 0 < value < UNKNOWN_MAG - 1 else None


def load_catalog(path):
    data = gzip.decompress(open(path, "rb").read())
    pos = 0

    def unpack(kind, size):
        nonlocal pos
        pos += size
        return struct.unpack_from(kind, data, pos - size)[0]

    def u32():
        return unpack(">I", 4)

    def string():
        nonlocal pos
        n = u32()
        if n == 0xFFFFFFFF:
            return ""
        pos += n
        return data[pos - n:pos].decode("utf-16-be")

    read = {"u": u32, "i": lambda: unpack(">i", 4), "d": lambda: unpack(">d", 8), "s": string}
    version = string()
    string()  # edition
    if version != "3.16":
        raise ValueError("%s: catalogue format %s, this reader knows 3.16" % (path, version))
    records = []
    while pos < len(data):
        records.append({name: read[kind]() for name, kind in RECORD})
    return Catalog(records, version)


NAME_LINE = re.compile(r'^_\("(.*?)"\)\s*(?:#\s*(.*))?$')
# Prefixes of names.dat mapped to the designation prefixes of this tool.
NAME_PREFIX = {"NGC": "NGC", "IC": "IC", "M": "M", "C": "C", "B": "B", "SH2": "Sh2",
               "VDB": "VdB", "CR": "Cr", "MEL": "Mel", "UGC": "UGC", "CED": "Ced", "ARP": "Arp",
               "VV": "VV", "PK": "PK", "ACO": "ACO", "ESO": "ESO", "DWB": "DWB", "LDN": "LDN",
               "LBN": "LBN"}


def load_names(path):
    """Each object's common name, keyed by designation such as 'NGC 2024': the first one listed,
    which is Stellarium's primary name. A name that several objects carry stays only on the one
    whose entry marks it well known (WK), or on the first when none does: the Horsehead Nebula
    is B 33, not the IC 434 behind it."""
    entries = []
    with open(path, encoding="utf-8") as f:
        for raw in f:
            if raw.startswith("#") or len(raw) < 21:
                continue
            prefix = NAME_PREFIX.get(raw[0:5].strip().upper())
            m = NAME_LINE.match(raw[20:].strip())
            if not prefix or not m:
                continue
            desig = "%s %s" % (prefix, raw[5:20].strip())
            well_known = "WK" in re.split(r"[,\s]+", m.group(2) or "")
            entries.append((desig, m.group(1), well_known))
    owner = {}
    for desig, name, well_known in entries:
        if name not in owner or (well_known and not owner[name][1]):
            owner[name] = (desig, well_known)
    names = {}
    for desig, name, _ in entries:
        if owner[name][0] == desig:
            names.setdefault(desig, name)
    return names
