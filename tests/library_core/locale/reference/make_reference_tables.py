#!/usr/bin/python3
"""Writes the reference tables the date unit's tests compare with.

  calendars.csv  dates of seven calendars from ICU (python3-icu)
  weeks.csv      Gregorian week numbers from ICU, with ISO-8601 weeks from Python
  timezones.csv  UTC offsets and DST transitions from tzdata (Python's zoneinfo)

Run it from anywhere (Debian's own python3 has the icu module):
  tests/library_core/locale/reference/make_reference_tables.py

Every value is ICU's or tzdata's, written in the conventions of Windows
calendars: months count from 1; Hebrew months are numbered as Windows does
(a common year has Adar as month 6 and Nisan as 7, a leap year Adar I as 6,
Adar II as 7 and Nisan as 8); eras are the indices of the calendar table's
era list (-1 for the default era). Where the calendar table's own rules
knowingly differ from ICU, the row carries both values and names the
difference in its note:
  reiwa      the table ends its eras with Heisei; ICU's Reiwa year n is Heisei n + 30
  leap15     the table's Hijri cycle has its leap year at 15, ICU's at 16: from
             ICU's 1 Muharram of cycle year 16 to the end of that year the
             table's date is ICU's date of the day before (30 Dhu al-Hijja 15
             on the first of those days)
  icu-postponement
             ICU moves the new years 5462, 5560 and 5807 to Tuesday: it applies
             the rule for a molad on Monday (after 15h 589p, after a leap year)
             to a molad on Sunday already moved to Monday. By the calendar's
             four postponement rules, which the table follows, those years
             begin on Monday. The row's expected date comes from those rules
             (Reingold and Dershowitz, Calendrical Calculations), and the script
             checks that ICU differs nowhere else.
Dates are TDateTime day numbers (days since 1899-12-30).
"""

import csv
import datetime
import os
import random
import zlib
import zoneinfo

import icu

HERE = os.path.dirname(os.path.realpath(__file__))
DATE_DELTA = 693594  # date.toordinal() - DATE_DELTA is a TDateTime day
F = icu.UCalendarDateFields
GMT = icu.TimeZone.getGMT()


def tdt(year, month, day):
    return datetime.date(year, month, day).toordinal() - DATE_DELTA


def icu_calendar(kind):
    cal = icu.Calendar.createInstance(GMT, icu.Locale("en_US@calendar=" + kind))
    if hasattr(cal, "setGregorianChange"):
        cal.setGregorianChange(-1.8e14)  # proleptic Gregorian, as TDateTime is
    return cal


def icu_fields(cal, day):
    cal.setTime((day - 25569) * 86400.0)  # 1970-01-01 is day 25569; PyICU takes seconds
    return (cal.get(F.ERA), cal.get(F.YEAR), cal.get(F.MONTH), cal.get(F.DATE))


def sample_days(first, last, specials, count=2000, seed=0):
    rng = random.Random(seed)
    days = {first, first + 1, first + 2, last, last - 1, last - 2}
    days.update(d for d in specials if first <= d <= last)
    step = (last - first) / (count // 2)
    days.update(int(first + i * step) for i in range(count // 2))
    while len(days) < count + len(specials):
        days.add(rng.randint(first, last))
    return sorted(d for d in days if first <= d <= last)


# ---------------------------------------------------------------------------
# Calendars

def solar_rows(name, kind, first, last, specials, era_map, year_map=lambda y, e: y):
    cal = icu_calendar(kind)
    rows = []
    for day in sample_days(first, last, specials, seed=zlib.crc32(name.encode())):
        era, year, month, dom = icu_fields(cal, day)
        part_era, part_year, note = era_map(era), year_map(year, era), ""
        if kind == "japanese" and era == 236:
            part_era, part_year, note = 3, year + 30, "reiwa"
        rows.append([name, day, part_era, part_year, month + 1, dom, era_map(era), year_map(year, era), month + 1, dom,
                     note])
    return rows


def japanese_era(era):
    return {232: 0, 233: 1, 234: 2, 235: 3, 236: 3}[era]


def hijri_rows():
    cal = icu_calendar("islamic-tbla")
    first, last = tdt(622, 7, 18), tdt(9999, 12, 31)
    specials = []
    for cycle_start in (1, 1441, 4501, 9631):  # years that begin a 30-year cycle
        # Around the cycle's years 15 and 16, where the table and ICU differ.
        cal.clear()
        cal.set(cycle_start + 14, 11, 1)
        begin = int(round(cal.getTime() / 86400.0)) + 25569
        specials.extend(range(begin, begin + 420))
    for year in range(2, 9666, 97):  # the last days of years, leap or not
        cal.clear()
        cal.set(year + 1, 0, 1)
        specials.append(int(round(cal.getTime() / 86400.0)) + 25569 - 1)
    rows = []
    for day in sample_days(first, last, specials, seed=6):
        era, year, month, dom = icu_fields(cal, day)
        part, note = (year, month + 1, dom), ""
        if year % 30 == 16:
            p_era, p_year, p_month, p_dom = icu_fields(cal, day - 1)
            part = (p_year, p_month + 1, p_dom) if p_year == year else (year - 1, 12, 30)
            note = "leap15"
        rows.append(["hijri", day, -1, *part, -1, year, month + 1, dom, note])
    return rows


def hebrew_month(cal, icu_month):
    leap = cal.getActualMaximum(F.DAY_OF_YEAR) > 380
    return icu_month + 1 if leap or icu_month <= 4 else icu_month


# The Hebrew calendar by its rules (Calendrical Calculations): the molad of
# Tishrei, then the postponements. Day numbers are date.toordinal() values.
def hebrew_leap(year):
    return (7 * year + 1) % 19 < 7


def hebrew_elapsed_days(year):
    months = (235 * year - 234) // 19
    parts = 12084 + 13753 * months
    days = 29 * months + parts // 25920
    return days + 1 if (3 * (days + 1)) % 7 < 3 else days


def hebrew_new_year(year):
    previous, current, following = (hebrew_elapsed_days(y) for y in (year - 1, year, year + 1))
    correction = 2 if following - current == 356 else (1 if current - previous == 382 else 0)
    return -1373427 + current + correction


def hebrew_by_rules(ordinal):
    year = datetime.date.fromordinal(ordinal).year + 3760
    if hebrew_new_year(year + 1) <= ordinal:
        year += 1
    length = hebrew_new_year(year + 1) - hebrew_new_year(year)
    leap = hebrew_leap(year)
    heshvan = 30 if length % 10 == 5 else 29
    kislev = 29 if length % 10 == 3 else 30
    months = [30, heshvan, kislev, 29, 30] + ([30, 29] if leap else [29]) + [30, 29, 30, 29, 30, 29]
    day = ordinal - hebrew_new_year(year)
    month = 0
    while day >= months[month]:
        day -= months[month]
        month += 1
    return year, month + 1, day + 1


def icu_moves_monday_molad(year):
    # A common year after a leap year whose molad of Tishrei falls on Sunday
    # (moved to Monday) at or after 15h 589p.
    months = (235 * year - 234) // 19
    days, parts = divmod(31524 + 765433 * months, 25920)
    return not hebrew_leap(year) and hebrew_leap(year - 1) and days % 7 == 0 and parts >= 15 * 1080 + 589


def hebrew_rows():
    cal = icu_calendar("hebrew")
    first, last = tdt(1583, 1, 1), tdt(2239, 9, 29)
    specials = []
    for year in range(5343, 6000, 7):
        # New year, the 29th/30th of Heshvan and Kislev, both Adars in leap years.
        for icu_month, day_of_month in ((0, 1), (1, 29), (1, 30), (2, 29), (2, 30), (5, 1), (5, 30), (6, 1),
                                        (6, 29), (7, 1), (12, 29)):
            cal.clear()
            cal.set(year, icu_month, day_of_month)
            specials.append(int(round(cal.getTime() / 86400.0)) + 25569)
    icu_differs = set()
    for year in range(5343, 6001):
        cal.clear()
        cal.set(year, 0, 1)
        if int(round(cal.getTime() / 86400.0)) + 25569 + DATE_DELTA != hebrew_new_year(year):
            assert icu_moves_monday_molad(year), year
            icu_differs.add(year)
    assert icu_differs == {5462, 5560, 5807}, icu_differs
    for year in icu_differs:  # both years around the moved new year
        specials.extend(range(hebrew_new_year(year - 1) - DATE_DELTA, hebrew_new_year(year + 1) - DATE_DELTA, 3))
    rows = []
    for day in sample_days(first, last, specials, seed=8):
        era, year, month, dom = icu_fields(cal, day)
        month = hebrew_month(cal, month)
        rules = hebrew_by_rules(day + DATE_DELTA)
        note = ""
        if rules != (year, month, dom):
            assert rules[0] in icu_differs or rules[0] + 1 in icu_differs, (day, rules, year, month, dom)
            note = "icu-postponement"
        rows.append(["hebrew", day, -1, *rules, -1, year, month, dom, note])
    return rows


def korean_rows():
    # ICU's dangi calendar is lunisolar; the Korean table counts Gregorian
    # years from 2333 BC, so its reference is ICU's Gregorian date with that count.
    rows = solar_rows("korean", "gregorian", tdt(1, 1, 1), tdt(9999, 12, 31), [tdt(1, 1, 1), tdt(2024, 3, 1)],
                      lambda e: 0, lambda y, e: y + 2333)
    return rows


def calendar_rows():
    gregorian_specials = [tdt(y, 2, d) for y in (100, 400, 1600, 1700, 1900, 2000, 2024, 2100, 9996)
                          for d in (28, 29) if d == 28 or (y % 4 == 0 and (y % 100 != 0 or y % 400 == 0))]
    gregorian_specials += [tdt(y, 3, 1) for y in (1900, 2000, 2100)]
    era_starts = [(1868, 9, 8), (1912, 7, 30), (1926, 12, 25), (1989, 1, 8), (2019, 5, 1)]
    japanese_specials = [tdt(*d) + k for d in era_starts for k in (-1, 0, 1)]
    # As many dates again before Reiwa, where the table's eras and ICU's agree.
    japanese_specials += range(tdt(1868, 9, 8), tdt(2019, 5, 1), 55)
    rows = []
    rows += solar_rows("gregorian", "gregorian", tdt(100, 1, 1), tdt(9999, 12, 31), gregorian_specials, lambda e: -1)
    rows += solar_rows("japanese", "japanese", tdt(1868, 9, 8), tdt(9999, 12, 31), japanese_specials + gregorian_specials,
                       japanese_era)
    rows += solar_rows("taiwan", "roc", tdt(1912, 1, 1), tdt(9999, 12, 31),
                       [tdt(1912, 1, 1), tdt(1912, 1, 2), tdt(2024, 3, 1)] + gregorian_specials, lambda e: 0)
    rows += solar_rows("thai", "buddhist", tdt(1, 1, 1), tdt(9999, 12, 31), [tdt(2024, 3, 1)] + gregorian_specials,
                       lambda e: 0)
    rows += korean_rows()
    rows += hijri_rows()
    rows += hebrew_rows()
    return rows


# ---------------------------------------------------------------------------
# Week numbers

def week_rows():
    cal = icu_calendar("gregorian")
    rows = []
    for first_day in (0, 1, 6):  # Sunday, Monday, Saturday (TDay numbering)
        for rule, minimal_days in ((1, 1), (2, 7), (3, 4)):  # fwyJan1, fwyFirstFullWeek, fwyFirstFourDays
            cal.setFirstDayOfWeek(first_day + 1)  # ICU counts Sunday as 1
            cal.setMinimalDaysInFirstWeek(minimal_days)
            for year in range(1995, 2036):
                start = tdt(year, 12, 20)
                for day in range(start, start + 22):
                    cal.setTime((day - 25569) * 86400.0)
                    week = cal.get(F.WEEK_OF_YEAR)
                    iso = ""
                    if first_day == 1 and rule == 3:
                        iso = datetime.date.fromordinal(day + DATE_DELTA).isocalendar()[1]
                        assert iso == week, (day, iso, week)
                    rows.append([first_day, rule, day, week, iso])
    return rows


# ---------------------------------------------------------------------------
# Time zones

ZONES = [("Europe/Berlin", "W. Europe Standard Time"), ("America/New_York", "Eastern Standard Time"),
         ("Australia/Sydney", "AUS Eastern Standard Time"), ("Asia/Kolkata", "India Standard Time")]


def offset_minutes(zone, utc):
    return int(utc.astimezone(zone).utcoffset().total_seconds() // 60)


def timezone_rows():
    utc = datetime.timezone.utc
    rows = []
    for name, key in ZONES:
        zone = zoneinfo.ZoneInfo(name)
        for year in range(2020, 2031):
            for month in (1, 7):
                moment = datetime.datetime(year, month, 15, 12, tzinfo=utc)
                offset = offset_minutes(zone, moment)
                local = (moment + datetime.timedelta(minutes=offset)).strftime("%Y-%m-%d %H:%M:%S")
                rows.append([name, key, year, "january" if month == 1 else "july", local, offset, offset])
            moment = datetime.datetime(year, 1, 1, tzinfo=utc)
            end = datetime.datetime(year + 1, 1, 1, tzinfo=utc)
            step = datetime.timedelta(minutes=30)
            while moment < end:
                before, after = offset_minutes(zone, moment), offset_minutes(zone, moment + step)
                if before != after:
                    # Transitions fall on the half hour here; the wall clock just before it.
                    local = (moment + step + datetime.timedelta(minutes=before)).strftime("%Y-%m-%d %H:%M:%S")
                    event = "daylight" if after > before else "standard"
                    rows.append([name, key, year, event, local, before, after])
                moment += step
    return rows


def write(name, header, rows):
    with open(os.path.join(HERE, name), "w", newline="") as f:
        f.write("# Generated by make_reference_tables.py; do not edit.\n")
        writer = csv.writer(f, lineterminator="\n")
        writer.writerow(header)
        writer.writerows(rows)


def main():
    write("calendars.csv", ["calendar", "day", "era", "year", "month", "dom", "icu_era", "icu_year", "icu_month",
                            "icu_dom", "note"], calendar_rows())
    write("weeks.csv", ["first_day", "rule", "day", "week", "iso_week"], week_rows())
    write("timezones.csv", ["zone", "windows_key", "year", "event", "local", "offset_before", "offset_after"],
          timezone_rows())


if __name__ == "__main__":
    main()
