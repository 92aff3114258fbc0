#pragma once

// Every kind of parameter in one include.
#include "framework/core/BoolParameter.h"
#include "framework/core/FloatParameter.h"
#include "framework/core/IntParameter.h"
#include "framework/core/Parameter.h"
#include "framework/core/StringParameter.h"
