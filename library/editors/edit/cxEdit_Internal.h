// What the editor model's source files share among themselves.
#pragma once

#include "library/editors/edit/cxEdit.h"

#include <vector>

std::vector<TcxCustomEditProperties*>& MutableEditPropertiesList();
void ReleaseRegisteredEditProperties();
void ReleaseStandardValidationGlyphs();
// BeepOnError's beep, through the replaceable function.
void EditErrorBeep();
void CreateDefaultEditStyleController();
void FreeDefaultEditStyleController();
