// The toolkit's e-mail tile lands here. The e-mail sender fills this in;
// until then the tile hovers but opens nothing.
#include "tools/Tools.h"

namespace tools {

void OpenEmail() {}

}  // namespace tools
