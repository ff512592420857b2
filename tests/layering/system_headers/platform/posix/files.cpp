// The POSIX services may include POSIX headers.
#include <sys/stat.h>
#include <unistd.h>
