// The review's search and go-to commands, used by the mode's key loop.
#pragma once

// Searches the screen below the cursor for the kept search text: the cursor
// goes to the first match and clicks; two beeps when there is none.
void review_search();
// Asks for a search text ("Qual texto"), spelling each key, then searches.
// Esc leaves without searching.
void review_ask_and_search();
// Asks for a row and a column as four digits ("Entre linha e coluna"); any
// other key: two beeps and the cursor stays.
void review_go_to();
