#!/usr/bin/env python3
"""Writes the sample logs and the member file into samples/.

    tools/velmora-score/make_samples.py [OUTPUT_FOLDER]

The files come out byte for byte the same on every run and every machine:
the random numbers come from a small generator of our own with a fixed start
value, not from Python's, whose algorithms may change between versions.

Written:
  velmora-cup-sample.adi  a contest log of a few hundred contacts in ADIF
  velmora-cup-sample.csv  a short log with the log table's own column names
  VC.dom                  the member file: one CALL=NUMBER per line, CR LF
"""

import os
import sys

START_VALUE = 20240608
CONTACTS = 420

BANDS = ["160", "80", "40", "20", "15", "10"]
# Frequencies in MHz the contacts are spread over, per band.
BAND_EDGES = {"160": 1.810, "80": 3.510, "40": 7.010, "20": 14.010, "15": 21.010, "10": 28.010}
MODES = ["CW", "SSB", "RTTY"]

# Prefix, continent, ITU zone, DXCC entity number.
PREFIXES = [
    ("DL", "EU", "28", "230"), ("G", "EU", "27", "223"), ("F", "EU", "27", "227"),
    ("I", "EU", "28", "248"), ("EA", "EU", "37", "281"), ("OK", "EU", "28", "503"),
    ("SP", "EU", "28", "269"), ("HA", "EU", "28", "239"), ("OH", "EU", "18", "224"),
    ("SM", "EU", "18", "284"), ("K", "NA", "8", "291"), ("W", "NA", "8", "291"),
    ("N", "NA", "7", "291"), ("VE", "NA", "4", "1"), ("JA", "AS", "45", "339"),
    ("VK", "OC", "59", "150"), ("ZS", "AF", "57", "462"), ("PY", "SA", "15", "108"),
    ("LU", "SA", "14", "100"), ("YO", "EU", "28", "275"), ("LZ", "EU", "28", "212"),
    ("9A", "EU", "28", "497"), ("S5", "EU", "28", "499"), ("OE", "EU", "28", "206"),
    ("HB9", "EU", "28", "287"), ("ON", "EU", "27", "209"), ("PA", "EU", "27", "263"),
    ("LY", "EU", "29", "146"), ("ES", "EU", "29", "52"),
]

LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"


class Numbers:
    """xorshift32: tiny, and the same everywhere."""

    def __init__(self, start):
        self.state = start & 0xFFFFFFFF or 1

    def next(self):
        x = self.state
        x ^= (x << 13) & 0xFFFFFFFF
        x ^= x >> 17
        x ^= (x << 5) & 0xFFFFFFFF
        self.state = x
        return x

    def below(self, n):
        return self.next() % n

    def pick(self, items):
        return items[self.below(len(items))]

    def chance(self, percent):
        return self.below(100) < percent


def field(name, value, data_type=""):
    """One ADIF field; the length counts the bytes of the UTF-8 value."""
    data = value.encode("utf-8")
    kind = ":" + data_type if data_type else ""
    return b"<" + name.encode("ascii") + b":" + str(len(data)).encode("ascii") + kind.encode("ascii") + b">" + data


def make_stations(numbers):
    """About 230 distinct stations; about half of them are members."""
    stations = []
    calls = set()
    member_numbers = list(range(1, 400))
    while len(stations) < 230:
        prefix, continent, zone, dxcc = numbers.pick(PREFIXES)
        call = prefix + str(numbers.below(10)) + "".join(numbers.pick(LETTERS) for _ in range(2 + numbers.below(2)))
        if numbers.chance(4):
            call += "/P"
        if call in calls:
            continue
        calls.add(call)
        member = None
        if numbers.chance(50):
            member = "VC" + str(member_numbers.pop(numbers.below(len(member_numbers))))
        wpx = call.split("/")[0]
        wpx = wpx[: len(prefix) + 1]
        stations.append({"call": call, "continent": continent, "zone": zone, "dxcc": dxcc,
                         "wpx": wpx, "member": member})
    return stations


def exchange_of(numbers, station, mode, serial):
    report = "59" if mode == "SSB" else "599"
    if station["member"]:
        number = station["member"]
        spelling = numbers.below(10)
        if spelling == 0:
            return report + " " + number.lower()  # member numbers count in any letter case
        if spelling == 1:
            return " " + report + " " + number + " "  # blanks around are trimmed
        return report + " " + number
    return report + " " + str(serial).zfill(3)


def make_contacts(numbers, stations):
    """The contest in time order, with the awkward cases mixed in."""
    contacts = []
    minute = 12 * 60
    for serial in range(1, CONTACTS + 1):
        minute += 1 + numbers.below(4)
        kind = numbers.below(100)
        if contacts and kind < 6:
            # An exact repeat of an earlier contact's call, band and mode: a
            # duplicate, sometimes with another exchange than the first time.
            earlier = numbers.pick(contacts)
            contact = dict(earlier)
            if numbers.chance(50):
                contact["exchange"] = exchange_of(numbers, contact["station"], contact["mode"], serial)
        else:
            station = numbers.pick(stations)
            band = numbers.pick(BANDS)
            mode = numbers.pick(MODES)
            contact = {"station": station, "call": station["call"], "band": band, "mode": mode,
                       "exchange": exchange_of(numbers, station, mode, serial)}
            if kind < 10:
                # The same station logged again in lower case: another call to
                # the scorer, so no duplicate, though the database sorts them
                # side by side.
                contact["call"] = station["call"].lower()
            elif kind < 13:
                contact["exchange"] = ""  # an empty exchange earns 1 point
            elif kind < 14:
                contact["exchange"] = None  # a serial number in SRX instead
                contact["srx"] = True
            elif kind < 15:
                contact["exchange"] = None  # no exchange field at all
        contact["minute"] = minute
        contact["serial"] = serial
        contacts.append(contact)

    # A call that differs only in letter case, on the same band and mode as
    # its upper-case twin: two calls for the scorer, equal for the database.
    twin = dict(next(c for c in contacts[40:] if c["call"] == c["station"]["call"]))
    twin["call"] = twin["call"][:1] + twin["call"][1:].lower()
    twin["minute"] = contacts[-1]["minute"] + 2
    twin["serial"] = CONTACTS + 1
    contacts.append(twin)
    return contacts


def adif_record(numbers, contact, index):
    station = contact["station"]
    day, minute = divmod(contact["minute"], 24 * 60)
    hour, minute = divmod(minute, 60)
    band_text = contact["band"] + ("M" if numbers.chance(15) else "m")
    frequency = "%.3f" % (BAND_EDGES[contact["band"]] + numbers.below(40) / 1000.0)
    sent = "59" if contact["mode"] == "SSB" else "599"
    parts = [
        field("CALL" if index % 7 else "call", contact["call"]),
        field("QSO_DATE", "202406%02d" % (8 + day), "D"),
        field("TIME_ON", "%02d%02d" % (hour, minute), "T"),
        field("BAND", band_text),
        field("FREQ", frequency, "N"),
        field("MODE", contact["mode"]),
        field("RST_SENT", sent),
        field("RST_RCVD", sent),
        field("STX_STRING", sent + " VC7"),
    ]
    if contact["exchange"] is not None:
        parts.append(field("SRX_STRING", contact["exchange"]))
    elif contact.get("srx"):
        parts.append(field("SRX", str(contact["serial"]).zfill(3), "N"))
    if index % 11:
        parts.append(field("CONT", station["continent"].lower() if index % 13 == 0 else station["continent"]))
        parts.append(field("ITUZ", station["zone"]))
    parts.append(field("PFX", station["wpx"]))
    if index % 17:
        parts.append(field("DXCC", station["dxcc"]))
    if index % 29 == 0:
        parts.append(field("COMMENT", "QRP <5W> & \"low\" dipole"))
    if index % 31 == 0:
        parts.append(field("NAME", "J\u00fcrgen"))
    separator = b"\n" if index % 5 == 0 else b" "
    return separator.join(parts) + b" <EOR>\n"


def write_adif(path, numbers, contacts):
    header = (b"Velmora Cup sample log: contacts of one station, made up for testing.\n"
              + field("ADIF_VER", "3.1.4") + b"\n"
              + field("PROGRAMID", "make_samples.py") + b"\n"
              + field("CREATED_TIMESTAMP", "20240610 120000") + b"\n"
              + b"<EOH>\n\n")
    records = [adif_record(numbers, contact, index) for index, contact in enumerate(contacts, start=1)]
    with open(path, "wb") as out:
        out.write(header + b"".join(records))


def write_members(path, stations):
    lines = sorted(s["call"] + "=" + s["member"] for s in stations if s["member"])
    with open(path, "wb") as out:
        out.write("".join(line + "\r\n" for line in lines).encode("ascii"))


CSV_TEXT = (
    "CallSign,DigiBand,QSOMode,QSOReportRecived,Continent,ITUZone,MainPrefix,DXCCPrefix,Comment\r\n"
    "DL1ABC,20,CW,599 VC12,EU,28,DL1,230,first member\r\n"
    "K1XYZ,20,CW,599 005,NA,8,K1,291,\r\n"
    "dl1abc,20,CW,599 vc12,EU,28,DL1,230,\"lower-case call, another call to the scorer\"\r\n"
    "DL1ABC,20,CW,599 VC12,EU,28,DL1,230,duplicate\r\n"
    "DL1ABC,40,CW,599 VC12,EU,28,DL1,230,same member on another band\r\n"
    "G4AAA,40,SSB,59 VC7,EU,27,G4,223,\"said \"\"seven\"\"\"\r\n"
    "JA1QQQ,15,RTTY,,AS,45,JA1,339,empty exchange\r\n"
    "OH9QQ,10,CW,599 VC1234,EU,18,OH9,224,\"four digits,\r\nthe first three count\"\r\n"
    "EA3XX,10,CW, 599 VC007 ,EU,37,EA3,281,VC007 is not VC7\r\n"
    "PY2AA,10,SSB,59 VC7,SA,15,PY2,108,\r\n"
)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "samples")
    os.makedirs(folder, exist_ok=True)
    numbers = Numbers(START_VALUE)
    stations = make_stations(numbers)
    contacts = make_contacts(numbers, stations)
    write_adif(os.path.join(folder, "velmora-cup-sample.adi"), numbers, contacts)
    write_members(os.path.join(folder, "VC.dom"), stations)
    with open(os.path.join(folder, "velmora-cup-sample.csv"), "wb") as out:
        out.write(CSV_TEXT.encode("ascii"))


if __name__ == "__main__":
    main()
