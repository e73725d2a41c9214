#!/usr/bin/env bash
# Writes the seed corpus in fuzz/corpus/<target>/: tables made by our own
# table layer (fuzz_make_seeds), small SAGA documents, number texts, command
# lines and ini files. Run it again after changing a seed; the files come
# out the same every time.
set -euo pipefail
cd "$(dirname "$0")/.."
corpus=fuzz/corpus

cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DENLAZOR_BUILD_FUZZERS=ON -DENLAZOR_BUILD_GUI=OFF -DENLAZOR_BUILD_TESTS=OFF \
  -DENLAZOR_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target fuzz_make_seeds >/dev/null

rm -rf "$corpus"
mkdir -p "$corpus"/{fuzz_xml_export,fuzz_numbers,fuzz_command_line,fuzz_ini}
build-fuzz/bin/fuzz_make_seeds "$corpus"

# ---- SAGA documents ----
cat >"$corpus/fuzz_xml_export/school.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<document>
  <subjects>
    <subject id="SB-LEN1" name="Lengua Castellana 1º ESO" hours="4"/>
    <subject id="SB-MAT1" name="Matemáticas 1º ESO" hours="2.5"/>
    <subject id="SB-TUTO" name="Tutoría"/>
  </subjects>
  <teachers>
    <teacher id="PF-01">Alfa Beta Gamma</teacher>
    <teacher id="PF-02">Alfa Bravo Golf</teacher>
    <teacher id="PF-03">Núñez Eco</teacher>
  </teachers>
  <locations>
    <location id="LC-1">Aula 12</location>
    <location id="LC-2">Gimnasio</location>
  </locations>
  <groups>
    <group id="GR-1" name="1 ESO A" regim="ORD-M">
      Primero A
      <assigned-subjects>
        <assigned-subject id="SB-LEN1">
          <assigned-teachers>
            <assigned-teacher id="PF-01"/>
          </assigned-teachers>
        </assigned-subject>
        <assigned-subject id="SB-MAT1">
          <assigned-teachers>
            <assigned-teacher id="PF-02"/>
            <assigned-teacher id="PF-03"/>
          </assigned-teachers>
        </assigned-subject>
      </assigned-subjects>
    </group>
    <group id="GR-2" name="2 BACH B" regim="ORD-T">
      <assigned-subjects>
        <assigned-subject id="SB-TUTO"/>
      </assigned-subjects>
    </group>
  </groups>
</document>
XML

iconv -f UTF-8 -t WINDOWS-1252 >"$corpus/fuzz_xml_export/windows-1252.xml" <<'XML'
<?xml version="1.0" encoding="windows-1252"?>
<!DOCTYPE document [ <!ENTITY escuela "IES"> ]>
<document>
  <subjects><subject id="SB-1" name="  Lengua &amp; Literatura  " hours=" 3,5 "/></subjects>
  <teachers><teacher id="PF-1"><![CDATA[Muñoz]]> <!-- nota --> y Peña</teacher></teachers>
  <locations><location id="LC-1"/><location id="LC-1">Aula repetida</location></locations>
  <groups><group id="GR-1" name="3 ESO C" regim="ORD-M">Tercero C<?pi dato?></group></groups>
</document>
XML
# The same school in UTF-16 with its byte-order mark, and as ISO-8859-1.
iconv -f UTF-8 -t UTF-16 "$corpus/fuzz_xml_export/school.xml" >"$corpus/fuzz_xml_export/utf-16.xml"
sed 's/encoding="UTF-8"/encoding="ISO-8859-1"/' "$corpus/fuzz_xml_export/school.xml" |
  iconv -f UTF-8 -t ISO-8859-1 >"$corpus/fuzz_xml_export/iso-8859-1.xml"

# ---- number texts ----
n=0
for text in '42' '  -17' '+0' '$7FFFFFFF' '0x80000000' 'xff' '-2147483648' '2147483648' \
  '3.5' '2,5' '-0.000125' '1E-5' '6.02e+23' '  12.  ' '.5' '1e499' '0.1.2' 'abc' \
  '99999999999999999999' '4.94065645841247E-324'; do
  n=$((n + 1))
  printf '%s' "$text" >"$corpus/fuzz_numbers/number-$n"
done

# ---- hosted command lines (arguments after the program path) ----
printf '%s' 'exportar 1A2B3C' >"$corpus/fuzz_command_line/export"
printf '%s' '"importar" "00C0FFEE"' >"$corpus/fuzz_command_line/import-quoted"
printf '%s' 'IMPORTAR' >"$corpus/fuzz_command_line/one-argument"
printf '%s' '"" exportar  "a b"	ff "unclosed' >"$corpus/fuzz_command_line/odd-quotes"
printf '%s' 'exportar $123 x9' >"$corpus/fuzz_command_line/three-arguments"

# ---- ini files: section, key and value, each ended by a backslash and one
# more character, then the file's content ----
printf 'Horalis\\;Transformado\\;1\\;' >"$corpus/fuzz_ini/new-file"
printf 'Horalis\\;Transformado\\;1\\;[Horalis]\r\nTransformado=0\r\n' >"$corpus/fuzz_ini/crlf"
printf 'Horalis\\;Transformado\\;1\\;; nota\n[Otra]\nx=1\n[horalis]\n  TRANSFORMADO = 0 \nfin=2' \
  >"$corpus/fuzz_ini/other-sections"
printf 'Horalis\\;Nuevo\\;0\\;[Horalis]\rTransformado=1\r\r[Final]\r' >"$corpus/fuzz_ini/cr-only"
printf 'Sec ción\\;Clave\\\\X\\;valor = con igual\\;[Sec ción]\nclave\\x=viejo\n' \
  >"$corpus/fuzz_ini/backslash-key"

du -sh "$corpus"
