# Prints the name-based GUID of the installer for a name, in the namespace the
# build uses (cmake/Shipping.cmake):  cmake -DNAME=<name> -P NameGuid.cmake
include("${CMAKE_CURRENT_LIST_DIR}/../cmake/Shipping.cmake")
string(UUID guid NAMESPACE "${TIDEMARK_GUID_NAMESPACE}" NAME "${NAME}" TYPE SHA1 UPPER)
execute_process(COMMAND "${CMAKE_COMMAND}" -E echo "${guid}")
