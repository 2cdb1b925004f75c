/* A 32-bit Windows library with the panel library's first function: what a user of the
   maker's 32-bit library puts beside the 64-bit Tollan. */
__declspec(dllexport) int __stdcall BGInit(void* window) { return window != 0; }
