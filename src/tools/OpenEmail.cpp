// The toolkit's e-mail tile opens the sender of the net folder.
#include "net/EmailDlg.h"
#include "tools/Tools.h"

namespace tools {

void OpenEmail() { OpenEmailSender(); }

}  // namespace tools
