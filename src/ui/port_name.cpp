#include "ui/port_name.h"

namespace rq508 {

std::string g_portName;

}  // namespace rq508
