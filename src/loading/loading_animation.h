#pragma once

// The module initialiser: starts GDI+, fills timeDimensionId and registers the "DavuzLoadDialog" class.
int initLoadingAnimation();
