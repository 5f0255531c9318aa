#include "app/startup.h"

int main(int argc, char** argv) { return devical::app::RunDevical(argc, argv); }
