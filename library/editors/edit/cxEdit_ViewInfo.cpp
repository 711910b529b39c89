#include "library/editors/edit/cxEdit.h"
