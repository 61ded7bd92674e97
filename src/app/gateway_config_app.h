#pragma once

namespace rq508 {

// The application: starts Qt, runs the main configuration dialog as the only window and ends
// the process when it closes. It reads no options of its own and keeps nothing between runs.
class CGatewayConfigApp {
public:
    // Runs the whole program; the exit status is 0 however the dialog ended.
    int Run(int& argc, char** argv);

private:
    // Runs the main dialog modally; false, because nothing else follows it.
    bool InitInstance();
};

extern CGatewayConfigApp g_app;

}  // namespace rq508
