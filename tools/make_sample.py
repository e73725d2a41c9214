#!/usr/bin/env python3
"""Writes samples/saga-ies-ejemplo.xml: the SAGA document of an invented
secondary school (ESO and Bachillerato, morning and afternoon groups).

Everything is deterministic, so running the script again gives the same file.
The school is sized for a stand-in timetabler: 20 groups of at most 30 weekly
lessons (five days of six periods), about 60 teachers, 25 rooms.

    /usr/bin/python3 tools/make_sample.py [output.xml]
"""
import math
import sys
from pathlib import Path
from xml.sax.saxutils import escape, quoteattr

# Subjects: (id, name, hours text, department). The id's last four characters
# become the subject code, so they are kept distinct.
SUBJECTS = [
    ("SB-LCE1", "Lengua Castellana y Literatura 1º ESO", "4", "LEN"),
    ("SB-LCE2", "Lengua Castellana y Literatura 2º ESO", "4", "LEN"),
    ("SB-LCE3", "Lengua Castellana y Literatura 3º ESO", "4", "LEN"),
    ("SB-LCE4", "Lengua Castellana y Literatura 4º ESO", "4", "LEN"),
    ("SB-MTE1", "Matemáticas 1º ESO", "4", "MAT"),
    ("SB-MTE2", "Matemáticas 2º ESO", "4", "MAT"),
    ("SB-MTE3", "Matemáticas 3º ESO", "4", "MAT"),
    ("SB-MTE4", "Matemáticas 4º ESO", "4", "MAT"),
    ("SB-ING1", "Inglés 1º ESO", "4", "ING"),
    ("SB-ING2", "Inglés 2º ESO", "4", "ING"),
    ("SB-ING3", "Inglés 3º ESO", "4", "ING"),
    ("SB-ING4", "Inglés 4º ESO", "4", "ING"),
    ("SB-GHE1", "Geografía e Historia 1º ESO", "3", "GEH"),
    ("SB-GHE2", "Geografía e Historia 2º ESO", "3", "GEH"),
    ("SB-GHE3", "Geografía e Historia 3º ESO", "3", "GEH"),
    ("SB-GHE4", "Geografía e Historia 4º ESO", "3", "GEH"),
    ("SB-BGE1", "Biología y Geología 1º ESO", "3", "BIO"),
    ("SB-BGE3", "Biología y Geología 3º ESO", "2.5", "BIO"),
    ("SB-BGE4", "Biología y Geología 4º ESO", "3", "BIO"),
    ("SB-FQE2", "Física y Química 2º ESO", "3", "FYQ"),
    ("SB-FQE3", "Física y Química 3º ESO", "2.5", "FYQ"),
    ("SB-FQE4", "Física y Química 4º ESO", "3", "FYQ"),
    ("SB-EFES", "Educación Física", "2", "EFI"),
    ("SB-EPVA", "Educación Plástica, Visual y Audiovisual", "2", "DIB"),
    ("SB-MUSI", "Música", "2", "MUS"),
    ("SB-TECD", "Tecnología y Digitalización", "2", "TEC"),
    ("SB-FRAN", "Francés (Segunda Lengua Extranjera)", "1.5", "FRA"),
    ("SB-VCET", "Valores Cívicos y Éticos", "1", "FIL"),
    ("SB-ECEM", "Economía y Emprendimiento", "3", "ECO"),
    ("SB-TUTO", "Tutoría", "1", "TUT"),
    ("SB-LCL1", "Lengua Castellana y Literatura I", "4", "LEN"),
    ("SB-LCL2", "Lengua Castellana y Literatura II", "4", "LEN"),
    ("SB-MAT1", "Matemáticas I", "4", "MAT"),
    ("SB-MAT2", "Matemáticas II", "4", "MAT"),
    ("SB-MCS1", "Matemáticas Aplicadas a las Ciencias Sociales I", "4", "MAT"),
    ("SB-MCS2", "Matemáticas Aplicadas a las Ciencias Sociales II", "4", "MAT"),
    ("SB-INB1", "Inglés I", "3", "ING"),
    ("SB-INB2", "Inglés II", "3", "ING"),
    ("SB-FILO", "Filosofía", "3", "FIL"),
    ("SB-HFIL", "Historia de la Filosofía", "2", "FIL"),
    ("SB-HESP", "Historia de España", "3", "GEH"),
    ("SB-HMCO", "Historia del Mundo Contemporáneo", "4", "GEH"),
    ("SB-HART", "Historia del Arte", "4", "GEH"),
    ("SB-GEOG", "Geografía", "4", "GEH"),
    ("SB-FYQB", "Física y Química", "4", "FYQ"),
    ("SB-FISI", "Física", "4", "FYQ"),
    ("SB-QUIM", "Química", "4", "FYQ"),
    ("SB-BGCA", "Biología, Geología y Ciencias Ambientales", "4", "BIO"),
    ("SB-DTE1", "Dibujo Técnico I", "4", "DIB"),
    ("SB-DTE2", "Dibujo Técnico II", "4", "DIB"),
    ("SB-ECON", "Economía", "4", "ECO"),
    ("SB-LAT1", "Latín I", "4", "LAT"),
    ("SB-LAT2", "Latín II", "4", "LAT"),
]

# Teachers by department: (id, full name). Several share initials on purpose
# (José Luis Martínez Sánchez / Juan Luis Moreno Serrano / Jorge Luis Muñoz
# Sanz), and compound surnames and particles appear as schools write them.
TEACHERS = {
    "LEN": ["María Carmen García López", "José Luis Martínez Sánchez", "Begoña Muñoz Ibáñez",
            "Ana Belén Fernández-Pardo Ruiz", "Rafael Álvarez Cordero", "Lucía Herrero Campos"],
    "MAT": ["Juan Luis Moreno Serrano", "María Cristina Gómez Lara", "Íñigo Peña Ortuño",
            "Francisco Javier Núñez de Arce", "Elena Ramos Villar", "Tomás Iglesias Roldán",
            "Pilar Castaño Gil"],
    "ING": ["Jorge Luis Muñoz Sanz", "Sarah Ortega Blanco", "Ángeles Domínguez Rey",
            "Miguel Ángel Torres Vidal", "Rocío Santos Peral", "Alberto Gil"],
    "GEH": ["Carmen de la Fuente Ortiz", "Óscar Albéniz Cañete", "Ana García",
            "Manuel Jesús Romero Pastor", "Inmaculada Vega Lorenzo", "Pedro Sáez Montoya"],
    "BIO": ["Nuria Castaño Gil", "Héctor Rubio Cano", "Marta Calvo Esteban",
            "Sergio León Garrido"],
    "FYQ": ["María Isabel Prieto Soler", "Antonio Benítez Marín", "Raquel Cabrera Núñez",
            "David Méndez Flores"],
    "EFI": ["Joaquín Gallardo Reyes", "Silvia Molina Crespo", "Rubén Delgado Aguilar"],
    "DIB": ["Mercedes Vázquez Pardo", "Luis Miguel Carrasco Soto", "Irene Pascual Mora"],
    "MUS": ["Guillermo Ferrer Santana", "Patricia Hidalgo Luna"],
    "TEC": ["Ignacio Cortés Herrera", "Eva María Lozano Bravo", "Andrés Fuentes Rojas"],
    "FRA": ["Sophie Márquez Duval", "Cristina Montero Arias"],
    "FIL": ["Fernando Sanz de Miguel", "Marina Ibáñez Soria", "Alfonso Caballero Nieto"],
    "ECO": ["Laura Mendoza Carmona", "Víctor Manuel Parra Ortega"],
    "LAT": ["Teresa Guerrero Medina", "Julián Cuesta Salinas"],
    # No lessons of their own: guidance and support staff are teachers in SAGA too.
    "ORI": ["Concepción Arroyo Benito", "Daniel Espinosa Ferrán", "Susana Quintana Rivas",
            "María José Ruiz de Alarcón", "Gonzalo Peñalver Ugarte"],
}

ROOMS = ["Aula 11", "Aula 12", "Aula 13", "Aula 14", "Aula 15", "Aula 16",
         "Aula 21", "Aula 22", "Aula 23", "Aula 24", "Aula 25", "Aula 26",
         "Laboratorio de Física y Química", "Laboratorio de Biología", "Gimnasio",
         "Pabellón Polideportivo", "Aula de Música", "Aula de Informática 1",
         "Aula de Informática 2", "Taller de Tecnología", "Aula de Dibujo", "Biblioteca",
         "Salón de Actos", "Aula de Desdoble 1", "Aula de Desdoble 2"]

# The curriculum of each kind of group: subject ids in the order SAGA lists them.
ESO = {
    1: ["SB-LCE1", "SB-MTE1", "SB-ING1", "SB-GHE1", "SB-BGE1", "SB-EFES", "SB-EPVA", "SB-MUSI",
        "SB-FRAN", "SB-TUTO"],
    2: ["SB-LCE2", "SB-MTE2", "SB-ING2", "SB-GHE2", "SB-FQE2", "SB-EFES", "SB-MUSI", "SB-TECD",
        "SB-FRAN", "SB-VCET", "SB-TUTO"],
    3: ["SB-LCE3", "SB-MTE3", "SB-ING3", "SB-GHE3", "SB-BGE3", "SB-FQE3", "SB-EFES", "SB-EPVA",
        "SB-TECD", "SB-TUTO"],
    4: ["SB-LCE4", "SB-MTE4", "SB-ING4", "SB-GHE4", "SB-FQE4", "SB-BGE4", "SB-ECEM", "SB-EFES",
        "SB-TUTO"],
}
BACH = {
    (1, "CT"): ["SB-LCL1", "SB-MAT1", "SB-INB1", "SB-FILO", "SB-EFES", "SB-FYQB", "SB-BGCA",
                "SB-DTE1", "SB-TUTO"],
    (1, "HCS"): ["SB-LCL1", "SB-MCS1", "SB-INB1", "SB-FILO", "SB-EFES", "SB-ECON", "SB-HMCO",
                 "SB-LAT1", "SB-TUTO"],
    (2, "CT"): ["SB-LCL2", "SB-MAT2", "SB-INB2", "SB-HESP", "SB-HFIL", "SB-FISI", "SB-QUIM",
                "SB-DTE2", "SB-TUTO"],
    (2, "HCS"): ["SB-LCL2", "SB-MCS2", "SB-INB2", "SB-HESP", "SB-HFIL", "SB-GEOG", "SB-HART",
                 "SB-LAT2", "SB-TUTO"],
}
ORDINAL = {1: "Primero", 2: "Segundo", 3: "Tercero", 4: "Cuarto"}
MODALITY = {"CT": "Ciencias y Tecnología", "HCS": "Humanidades y Ciencias Sociales"}

# Subjects taught by two teachers at once (split groups, lab practice).
TWO_TEACHERS = {"SB-TECD", "SB-FQE3"}


def groups():
    """(id, name, regime, description, subject ids), in the order SAGA lists them."""
    result = []
    for course in (1, 2, 3, 4):
        for letter in "ABC":
            result.append((f"GR-{course}ESO{letter}", f"{course} ESO {letter}", "ORD-M",
                           f"{ORDINAL[course]} de ESO, grupo {letter}", ESO[course]))
    for regime, letters in (("ORD-M", {"CT": "A", "HCS": "B"}), ("ORD-T", {"CT": "C", "HCS": "D"})):
        for course in (1, 2):
            for modality in ("CT", "HCS"):
                letter = letters[modality]
                shift = "mañana" if regime == "ORD-M" else "tarde"
                result.append((f"GR-{course}BAC{letter}", f"{course} BACH {modality} {letter}",
                               regime,
                               f"{ORDINAL[course]} de Bachillerato de {MODALITY[modality]}, "
                               f"{letter} ({shift})",
                               BACH[(course, modality)]))
    return result


def sessions(hours):
    return math.ceil(float(hours))


def assign_teachers(group_list):
    """Teacher ids per (group, subject): the least loaded teachers of the subject's
    department, ties broken by the department's order; tutorials go to the least
    loaded teacher overall. Deterministic."""
    ids = {}
    department_of = {}
    number = 0
    for department, names in TEACHERS.items():
        for name in names:
            number += 1
            ids[name] = f"PF-{number:04d}"
            department_of[name] = department
    load = {name: 0 for name in ids}
    hours = {s[0]: s[2] for s in SUBJECTS}
    department = {s[0]: s[3] for s in SUBJECTS}
    teaching = [n for n in ids if department_of[n] != "ORI"]
    result = {}
    for group_id, _, _, _, subjects in group_list:
        for subject_id in subjects:
            wanted = 2 if subject_id in TWO_TEACHERS else 1
            if department[subject_id] == "TUT":
                pool = teaching
            else:
                pool = TEACHERS[department[subject_id]]
            chosen = sorted(pool, key=lambda n: (load[n], pool.index(n)))[:wanted]
            for name in chosen:
                load[name] += sessions(hours[subject_id])
            result[(group_id, subject_id)] = [ids[n] for n in chosen]
    return ids, result, load


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else \
        Path(__file__).resolve().parent.parent / "samples" / "saga-ies-ejemplo.xml"
    group_list = groups()
    teacher_ids, teachers_of, load = assign_teachers(group_list)
    hours = {s[0]: s[2] for s in SUBJECTS}
    for group_id, _, _, _, subjects in group_list:
        total = sum(sessions(hours[s]) for s in subjects)
        assert total <= 30, (group_id, total)
    assert max(load.values()) <= 30, max(load.values())

    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             "<!-- IES Sierra del Alba: datos de ejemplo inventados. -->",
             "<document>", "  <subjects>"]
    for subject_id, name, hours_text, _ in SUBJECTS:
        lines.append(f"    <subject id={quoteattr(subject_id)} name={quoteattr(name)} "
                     f"hours={quoteattr(hours_text)}/>")
    lines += ["  </subjects>", "  <teachers>"]
    for name, teacher_id in teacher_ids.items():
        lines.append(f"    <teacher id={quoteattr(teacher_id)}>{escape(name)}</teacher>")
    lines += ["  </teachers>", "  <locations>"]
    for number, name in enumerate(ROOMS, start=1):
        lines.append(f"    <location id=\"LC-{number:03d}\">{escape(name)}</location>")
    lines += ["  </locations>", "  <groups>"]
    for group_id, name, regime, description, subjects in group_list:
        lines.append(f"    <group id={quoteattr(group_id)} name={quoteattr(name)} "
                     f"regim={quoteattr(regime)}>")
        lines.append(f"      {escape(description)}")
        lines.append("      <assigned-subjects>")
        for subject_id in subjects:
            lines.append(f"        <assigned-subject id={quoteattr(subject_id)}>")
            lines.append("          <assigned-teachers>")
            for teacher_id in teachers_of[(group_id, subject_id)]:
                lines.append(f"            <assigned-teacher id={quoteattr(teacher_id)}/>")
            lines.append("          </assigned-teachers>")
            lines.append("        </assigned-subject>")
        lines.append("      </assigned-subjects>")
        lines.append("    </group>")
    lines += ["  </groups>", "</document>", ""]
    out.write_text("\n".join(lines), encoding="utf-8")


if __name__ == "__main__":
    main()
