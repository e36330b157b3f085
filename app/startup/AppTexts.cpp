#include "app/startup/AppTexts.h"

const tvane::StringTable& AppTexts() {
    static const tvane::StringTable table{
        {100, "OLE initialization failed.  Make sure that the OLE libraries are the correct "
              "version."},
        {172, "Exiting Application"},
        {3001, "KXQT7100"},
        {4005, "OleInitialize failed."},
        {4006, "LoadLibrary(\"%1\") failed.\nGetLastError returns %2."},
        {4007, "%1 was loaded, but the %2 entry point was not found.\n\n%1 does not appear to "
               "be a .DLL or .OCX file."},
        {4008, "%1 was loaded, but the %2 entry point was not found.\n\n%2 may not be exported, "
               "or a corrupt version of %1 may be in memory. Consider using PView to detect "
               "and remove it."},
        {4009, "%1 in %2 failed."},
        {4010, "%1 in %2 succeeded."},
        {4011, "The application was previously terminated abnormally.\r\nWould you like to "
               "attempt to restore the last active setup?"},
        {4018, "Could not open last used setup (%s)"},
        {13175, "No Install Path Entry in Tvane.ini file"},
        {13176, "No DllName Entry for Ole Comm Server in Tvane.ini file"},
        {13177, "No DllName Entry for Instrument Server in Tvane.ini file"},
        {13178, "Failed to register 32bit ODBC"},
    };
    return table;
}
