#include "framework/processor/SettingsMigration.h"

bool migrateSettingsFile (const juce::File& oldFile, const juce::File& newFile)
{
    if (oldFile.getFullPathName().equalsIgnoreCase (newFile.getFullPathName()))
        return false;

    if (! oldFile.existsAsFile() || newFile.exists())
        return false;

    if (! newFile.getParentDirectory().createDirectory())
        return false;

    juce::TemporaryFile temporary (newFile, juce::TemporaryFile::useHiddenFile);

    if (! oldFile.copyFileTo (temporary.getFile()) || ! temporary.overwriteTargetFileWithTemporary())
        return false;

    // The old file may stay (a read-only module folder): it is never copied
    // again, since the new file now exists.
    oldFile.deleteFile();
    return true;
}
