#pragma once

// Checks about permissions mean nothing for root, who may read and write
// everything; CI runs as root. Such a test function calls this first: as root it
// runs the same function again in a child process of this test program as the
// ordinary user nobody (setpriv from util-linux) and reports that run's result;
// as any other user it returns false and the function goes on with its checks.
//
//     void skrivskyddadFil() {
//         if (korSomVanligAnvandare("skrivskyddadFil"))
//             return;
//         ...
//     }
//
// Temporary folders are made under /tmp, which nobody can use. A failure of the
// child run fails the calling test with the child's output.
bool korSomVanligAnvandare(const char* testfunktion);
