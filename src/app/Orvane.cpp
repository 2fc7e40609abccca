#include "Qtuiservices.h"

int main(int argc, char** argv) {
    ov::TOVApplication app(argc, argv);
    return 0;
}
