#pragma once

#include "fil/SaveComments.h"

// Every comment of the process-wide table at one moment, for the saves that read it.
SaveComments SaveCommentTableNow();
