#!/usr/bin/env bash
# The main job on the bundled sample school: installs what is needed, builds,
# exports a copy of the sample document to a local exchange directory, lets
# the Horalis stand-in (a test double of the timetabler) compute a timetable,
# imports it back into the copy and shows what the new time-tables section
# holds. The original in samples/ is never touched.
#
#   bash scripts/run-sample.sh
#
# SAMPLE_LOCALE sets the regional settings the conversions run under; the
# default, es_ES.UTF-8, is a Spanish school's: the decimal separator is the
# comma, so weekly hours such as 2.5 are read as two and a half.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
# The Linux programs are all the sample needs; the Windows ones, cross-built
# for the package, would only slow it down.
ENLAZOR_LINUX_ONLY=1 bash scripts/build.sh

BIN=build/bin
RUN_DIR=build/sample-run
EXCHANGE_DIR="$RUN_DIR/HTEMP"
DOCUMENT="$RUN_DIR/saga-ies-ejemplo.xml"
LOCALE="${SAMPLE_LOCALE:-es_ES.UTF-8}"

rm -rf "$RUN_DIR"
mkdir -p "$EXCHANGE_DIR"
cp samples/saga-ies-ejemplo.xml "$DOCUMENT"

step() { printf '\n== %s\n' "$1"; }

step "Exportar: SAGA -> Horalis ($EXCHANGE_DIR)"
env LC_ALL="$LOCALE" "$BIN/enlazor-cli" export "$DOCUMENT" --exchange-dir "$EXCHANGE_DIR"

step "Horalis (simulado): horario calculado en SOLUC"
env LC_ALL="$LOCALE" "$BIN/horalis-standin" --exchange-dir "$EXCHANGE_DIR"

step "Importar: Horalis -> SAGA"
env LC_ALL="$LOCALE" "$BIN/enlazor-cli" import "$DOCUMENT" --exchange-dir "$EXCHANGE_DIR"

step "Documento actualizado: $(realpath "$DOCUMENT")"
/usr/bin/python3 - "$DOCUMENT" <<'PYTHON'
import sys
import xml.etree.ElementTree as ET

root = ET.parse(sys.argv[1]).getroot()
time_table = root.findall("time-tables")[-1].find("time-table")
days = time_table.find("days").findall("day")
inputs = time_table.find("inputs").findall("input")
intervals = sum(len(day.findall("interval")) for day in days)

def count(name):
    return len(list(time_table.find(name)))

print(f'Sección time-tables ({time_table.get("id")}, "{time_table.get("name")}"):')
print(f"  días:        {len(days)} ({', '.join(day.get('name') for day in days)})")
print(f"  intervalos:  {intervals}")
if days:
    first = days[0]
    times = ", ".join(f'{i.get("id")} {i.get("begin")}-{i.get("end")}' for i in first.findall("interval"))
    print(f"               {first.get('name')}: {times}")
print(f"  grupos:      {count('groups')}")
print(f"  profesores:  {count('members')}")
print(f"  actividades: {count('activities')}")
print(f"  sesiones:    {len(inputs)}")
if inputs:
    first = inputs[0]
    group = first.find("groups/group").get("id", "")
    member = first.find("members/member").get("id", "")
    location = first.find("locations/location").get("id", "")
    print(f'  primera:     {first.get("id")}: día {first.get("day")}, {first.get("interval")}, '
          f'{first.get("activity")}, grupo {group}, profesor {member}, aula {location}')
PYTHON
