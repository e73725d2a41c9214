// make_temp_folder() under its first name, for the tests that include it so.
#pragma once

#include "support/files.h"
