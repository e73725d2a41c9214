// The program's two jobs: the export builds Horalis's tables from the SAGA
// document, the import writes Horalis's timetable into that document. One
// type names them everywhere: the frames around each, hosted mode's
// direction word, and which direction a check's finding belongs to.
#pragma once

namespace enlazor {

enum class Direction { Export, Import };

} // namespace enlazor
