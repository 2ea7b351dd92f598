"""Reads and writes free tables with Debian's python3-dbf, for the interop
tests of the table layer.

  pydbf_tool.py dump TABLE     one JSON line per record: {"deleted": b, "values": [...]}
  pydbf_tool.py make TABLE     writes the fixed sample table the tests expect
"""
import datetime
import json
import sys

import dbf


def plain(value):
    if value is None or value is dbf.Null:
        return None
    if isinstance(value, (dbf.Date, datetime.date)) and not isinstance(value, datetime.datetime):
        return value.isoformat() if value else ""
    if isinstance(value, (dbf.DateTime, datetime.datetime)):
        return value.isoformat() if value else ""
    if isinstance(value, bytes):
        return list(value)
    if isinstance(value, bool) or value is dbf.Truth or value is dbf.Falsth:
        return bool(value)
    if value is dbf.Unknown:
        return None
    try:
        import decimal
        if isinstance(value, decimal.Decimal):
            return float(value)
    except ImportError:
        pass
    return value


def dump(path):
    table = dbf.Table(path)
    table.open(dbf.READ_ONLY)
    for record in table:
        values = [plain(record[name]) for name in table.field_names]
        print(json.dumps({"deleted": dbf.is_deleted(record), "values": values}, ensure_ascii=False))
    table.close()


def make(path):
    # Every field takes Null: python3-dbf numbers the null bits by field
    # position, which agrees with Visual FoxPro's numbering only then.
    table = dbf.Table(
        path,
        "名称 C(12) NULL; 成绩 N(8,2) NULL; 男 L NULL; 日期 D NULL; 备注 M NULL; 序号 I NULL",
        dbf_type="vfp", codepage="cp936")
    table.open(dbf.READ_WRITE)
    table.append(("张三丰", 12.34, True, dbf.Date(2024, 3, 5), "太极拳\r\n武当山", 7))
    table.append(("李四", -1.5, False, dbf.Date(1999, 12, 31), "", -3))
    table.append((dbf.Null,) * 6)
    table.append(("王五", 0, True, None, "长" * 400, 0))
    dbf.delete(table[1])
    table.close()


if __name__ == "__main__":
    {"dump": dump, "make": make}[sys.argv[1]](sys.argv[2])
