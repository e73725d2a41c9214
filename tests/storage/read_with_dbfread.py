#!/usr/bin/python3
"""Prints a dBase table as dbfread sees it, as JSON, for the interop test.

Output: {"fields": [[name, type, length, decimals], ...],
         "records": [[value, ...], ...]}
Text is decoded by the table's own language driver; numbers come out as
dbfread parses them (null for a blank numeric field).
"""
import json
import sys

from dbfread import DBF


def main(path):
    table = DBF(path, load=True)
    fields = [[f.name, f.type, f.length, f.decimal_count] for f in table.fields]
    records = [list(record.values()) for record in table.records]
    json.dump({"encoding": table.encoding, "fields": fields, "records": records},
              sys.stdout, ensure_ascii=False, separators=(",", ":"), default=str)


if __name__ == "__main__":
    main(sys.argv[1])
