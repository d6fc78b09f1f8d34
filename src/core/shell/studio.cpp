#include "shell/studio.h"

namespace mirasketch {

Studio::Studio(MessageSink& sink)
    : messages(sink), project(sink, *this), toolEngine(project), frmM(project), frmL(project) {}

}  // namespace mirasketch
