#include "tests/support/play_fixture.h"
