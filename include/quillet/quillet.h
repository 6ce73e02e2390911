// Quillet's library: reads the decade-line files of MORVEN and BILTOSE and writes their
// column tables. Every public header, in one.
#ifndef INCLUDE_QUILLET_QUILLET_H_
#define INCLUDE_QUILLET_QUILLET_H_

#include "quillet/column_file.h"
#include "quillet/convert.h"
#include "quillet/diagnostic.h"
#include "quillet/messages.h"
#include "quillet/reader.h"

#endif  // INCLUDE_QUILLET_QUILLET_H_
