#include "platform/core/DataModule.h"

#include "platform/core/ClassRegistry.h"

namespace Vellaro {

VELLARO_REGISTER_CLASS(TDataModule)

} // namespace Vellaro
