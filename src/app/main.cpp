#include "ui/qt/application.h"

int main(int argc, char* argv[]) {
    return heikosen::qt::runApplication(argc, argv);
}
