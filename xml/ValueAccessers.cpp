#include "xml/ValueAccessers.h"

IntAccesser::~IntAccesser() = default;
BOOLAccesser::~BOOLAccesser() = default;
COleDateTimeAccesser::~COleDateTimeAccesser() = default;
CStringAccesser::~CStringAccesser() = default;
