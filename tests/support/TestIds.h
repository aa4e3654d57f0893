// Ids of the templates that exist only in the test executables.
#pragma once
#define IDD_TEST_EMPTY 9001
