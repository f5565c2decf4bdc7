// The program's entry compiled under another name, so that tests can run start-up.
#define main stakkoMain
#include "main.cpp"
