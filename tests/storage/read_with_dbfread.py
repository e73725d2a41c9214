#!/usr/bin/python3
"""Prints a dBase table as dbfread sees it, for the interop tests.

read_with_dbfread.py TABLE
    {"fields": [[name, type, length, decimals], ...],
     "records": [[value, ...], ...]} as JSON. Text is decoded by the table's
    own language driver; numbers come out as dbfread parses them (null for a
    blank numeric field).

read_with_dbfread.py --texts TABLE [TYPES]
    One line per record, the values of the fields whose type is in TYPES
    (every type dbfread reads when not given) separated by tabs, each written
    the way our table layer gives it as text with the decimal point: numbers
    in their shortest form, dates as YYYYMMDD, date-times as
    YYYY-MM-DD hh:mm:ss, logicals as T or F, nothing for a blank value.

dbfread reads dBase 7 tables with 32-byte field descriptors; here they are
read from the 48-byte descriptors of that level instead, and the values
still by dbfread's own parsers. No memo file is needed.
"""
import datetime
import decimal
import json
import sys

from dbfread import DBF, FieldParser


class AnyLevelDBF(DBF):
    def _read_field_headers(self, infile):
        if self.header.dbversion & 0x07 != 0x04:
            return super()._read_field_headers(infile)
        infile.seek(68)
        while True:
            descriptor = infile.read(48)
            if not descriptor or descriptor[:1] == b'\r':
                break
            name = descriptor[:32].split(b'\0')[0].decode('ascii')
            field = type('Field', (), {})()
            field.name = name
            field.type = chr(descriptor[32])
            field.length = descriptor[33]
            field.decimal_count = descriptor[34]
            self.field_names.append(name)
            self.fields.append(field)


class SelectedFields(FieldParser):
    """dbfread's parsers, for the fields of the types asked for only."""
    types = None

    def parse(self, field, data):
        if self.types is not None and field.type not in self.types:
            return None
        return super().parse(field, data)


def as_text(value):
    if value is None:
        return ''
    if isinstance(value, bool):
        return 'T' if value else 'F'
    if isinstance(value, datetime.datetime):
        return value.strftime('%Y-%m-%d %H:%M:%S')
    if isinstance(value, datetime.date):
        return value.strftime('%Y%m%d')
    if isinstance(value, (float, decimal.Decimal)):
        number = float(value)
        return str(int(number)) if number.is_integer() else repr(number)
    return str(value)


def main(arguments):
    texts = arguments[0] == '--texts'
    if texts:
        arguments = arguments[1:]
    types = arguments[1] if texts and len(arguments) > 1 else None
    SelectedFields.types = types
    table = AnyLevelDBF(arguments[0], load=True, ignore_missing_memofile=True,
                        parserclass=SelectedFields)
    if not texts:
        fields = [[f.name, f.type, f.length, f.decimal_count] for f in table.fields]
        records = [list(record.values()) for record in table.records]
        json.dump({"encoding": table.encoding, "fields": fields, "records": records},
                  sys.stdout, ensure_ascii=False, separators=(",", ":"), default=str)
        return
    names = [f.name for f in table.fields if types is None or f.type in types]
    for record in table.records:
        line = '\t'.join(as_text(record[name]) for name in names) + '\n'
        sys.stdout.buffer.write(line.encode('utf-8'))


if __name__ == "__main__":
    main(sys.argv[1:])
