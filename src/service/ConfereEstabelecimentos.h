// The establishment files a configuration names, looked at when it takes effect: a file that every
// sale naming it would be refused for is told to the operator at once, not at the first sale.
#pragma once

class TX;

// Examines each establishment file the configuration names (each path once, in group and slot
// order) as a sale reads it, and logs each one that cannot serve, in words: missing, unreadable and
// why, too short, or altered. Good files log nothing.
void ConfereEstabelecimentos(const TX& config);
