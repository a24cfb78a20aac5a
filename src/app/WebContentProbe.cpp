#include "WebContentProbe.h"

#include <QString>

namespace WebContentProbe {

bool shareGlContextsAtStart() {
  return qEnvironmentVariable("QEL_SHARE_GL_CONTEXTS") == QLatin1String("1");
}

} // namespace WebContentProbe
