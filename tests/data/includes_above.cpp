// A file of the scores library that reaches into the windows above it: the
// include check must name the window's header and pass over the others.
#include "Statistics.h"
#include "platform/ProfileFile.h"
#include "scores/windows/TScoresForm.h"
