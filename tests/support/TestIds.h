// Ids of the templates that exist only in the test executables.
#pragma once
#define IDD_TEST_EMPTY 9001
// 9100-9199: skin tests; 9200-9299: text and message-box tests.
