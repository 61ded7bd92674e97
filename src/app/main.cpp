#include "gateway_config_app.h"

int main(int argc, char** argv) {
    return rq508::g_app.Run(argc, argv);
}
