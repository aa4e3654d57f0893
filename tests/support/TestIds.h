// Ids of the templates that exist only in the test executables.
#pragma once
#define IDD_TEST_EMPTY 9001
// 9100-9199: skin tests; 9200-9299: text and message-box tests.
#define IDD_SKIN_TEST 9101
// A 50-character string for the caption and window-text limits. Its id plus
// any language base lands on no string of the program.
#define IDS_SKIN_TEST_FIFTY 9150
