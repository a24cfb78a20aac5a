#pragma once

#include "PlugInMessages.h"
