#include "settings/SaveCheck.h"

FileSet UnsavedFiles(FileSet notInstalled, FileSet refused, FileSet mismatched)
{
    FileSet unsaved = (refused | mismatched).Without(notInstalled & FileSet::DriverCopies());
    FileSet savedCopies = FileSet::DriverCopies().Without(notInstalled).Without(unsaved);
    if (savedCopies.Empty())
        unsaved |= FileSet::DriverCopies();
    return unsaved;
}
