#pragma once

#include "Neighbours.h"
#include "PlugInMessages.h"
