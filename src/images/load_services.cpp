// SPDX-License-Identifier: MIT
#include "images/load_services.h"

#include "images/image_measure.h"
#include "images/size_accounting.h"

namespace orin {

LoadServices StandardLoadServices()
{
    LoadServices services;
    services.measure = ImageDimensions;
    services.totalDataSize = TotalDataSize;
    services.fileSize = FileSizeOf;
    services.measureAndSize = MeasureImageFile;
    services.startLoad = [] { return CLoadMeasurer(); };
    return services;
}

} // namespace orin
