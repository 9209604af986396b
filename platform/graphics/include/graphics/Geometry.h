#pragma once

// All the geometry value types in one include.
#include "graphics/CGAffineTransform.h"
#include "graphics/CGFloat.h"
#include "graphics/CGPoint.h"
#include "graphics/CGRect.h"
#include "graphics/CGSize.h"
#include "graphics/CGVector.h"
#include "graphics/ProjectionTransform.h"
