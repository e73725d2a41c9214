// Resource identifiers shared by the resource files and the code that loads them.
#pragma once

// The program's icon: the first icon, which Windows shows for the file.
#define IDI_ENLAZOR 1
// The glyphs of the "Aceptar" buttons and of "&Salir".
#define IDI_CHECK_MARK 101
#define IDI_OPEN_DOOR 102
