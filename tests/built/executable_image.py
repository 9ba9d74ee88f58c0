"""Reads a built Windows executable through a PE parser (Debian's python3-pefile), for the
checks that inspect executables without running them. Every reader fails loudly: a file it
cannot parse, or one that holds nothing to check, is a failure, never a quiet pass."""

import sys

import pefile

SECURITY_DIRECTORY = pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_SECURITY"]
DELAY_IMPORT_DIRECTORY = pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT"]


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def load(path):
    """The parsed image, or a failure naming why it is none."""
    try:
        image = pefile.PE(path, fast_load=True)
        image.parse_data_directories(directories=[
            pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"],
            DELAY_IMPORT_DIRECTORY,
            pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"],
        ])
    except (OSError, pefile.PEFormatError) as error:
        fail("cannot read %s: %s" % (path, error))
    return image


def imports(image):
    """(dll, name) for every imported function, the DLL in lower case; name is None for an
    import by ordinal. A failure when the image imports nothing at all."""
    found = []
    for entry in getattr(image, "DIRECTORY_ENTRY_IMPORT", []):
        dll = entry.dll.decode("ascii").lower()
        for function in entry.imports:
            found.append((dll, function.name.decode("ascii") if function.name else None))
    if not found:
        fail("no imports found")
    return found


def has_directory(image, index):
    directory = image.OPTIONAL_HEADER.DATA_DIRECTORY[index]
    return directory.VirtualAddress != 0 or directory.Size != 0


def resources(image):
    """"TYPE NAME" for every resource: the type by its RT_ name where it has one, the name by
    its number or its text."""
    found = []
    root = getattr(image, "DIRECTORY_ENTRY_RESOURCE", None)
    for kind in root.entries if root else []:
        type_name = pefile.RESOURCE_TYPE.get(kind.id, str(kind.name))
        for name in kind.directory.entries:
            found.append("%s %s" % (type_name, name.id if name.name is None else name.name))
    return sorted(found)
