"""Checks that every table of a folder is whole, as other programs see it.

  check_tables.py FOLDER

For each .dbf: the header's record count agrees with the file's size (the
records end where the file ends, an end-of-file mark aside), and the table
opens and reads to the end with python3-dbf and with dbfread. Prints one
line per problem and exits 1 when there is any; prints "ok N" otherwise.
"""
import os
import struct
import sys

import dbf
import dbfread


def check(path, problems):
    with open(path, "rb") as f:
        head = f.read(32)
    size = os.path.getsize(path)
    if len(head) < 32:
        problems.append("%s: header cut short" % path)
        return
    count, header_length, record_length = struct.unpack("<IHH", head[4:12])
    end = header_length + count * record_length
    if size not in (end, end + 1):
        problems.append("%s: %d records of %d bytes after %d need %d bytes, the file has %d"
                        % (path, count, record_length, header_length, end, size))
    try:
        table = dbf.Table(path)
        table.open(dbf.READ_ONLY)
        n = sum(1 for _ in table)
        table.close()
        if n != count:
            problems.append("%s: python3-dbf read %d of %d records" % (path, n, count))
    except Exception as e:  # noqa: BLE001 - any failure is a finding
        problems.append("%s: python3-dbf: %s" % (path, e))
    try:
        n = sum(1 for _ in dbfread.DBF(path, encoding="gbk", load=False, ignore_missing_memofile=False))
        deleted = sum(1 for _ in dbfread.DBF(path, encoding="gbk", load=False).deleted)
        if n + deleted != count:
            problems.append("%s: dbfread read %d+%d of %d records" % (path, n, deleted, count))
    except Exception as e:  # noqa: BLE001
        problems.append("%s: dbfread: %s" % (path, e))


def main():
    folder = sys.argv[1]
    problems = []
    names = sorted(n for n in os.listdir(folder) if n.lower().endswith(".dbf"))
    for name in names:
        check(os.path.join(folder, name), problems)
    for p in problems:
        print(p)
    if not problems:
        print("ok %d" % len(names))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
