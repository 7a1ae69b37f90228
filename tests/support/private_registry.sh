#!/bin/sh
# Runs a test program in a mount namespace of its own with a fresh
# /dev/shm, where the POSIX backend keeps the editor registry: the program
# registers its editors in a registry nobody else sees, so two test runs,
# or an editor running beside them, never meet. QM_OWN_MOUNT_NAMESPACE=1
# tells the program that its mounts reach no other process (a test may
# mount a folder read-only). Where no namespace can be made, the program
# runs as it is and says so.
#
# Usage: private_registry.sh PROGRAM [ARGS...]
if unshare --mount --map-root-user true 2>/dev/null; then
  exec unshare --mount --map-root-user \
    sh -c 'mount -t tmpfs -o mode=1777 tmpfs /dev/shm &&
      QM_OWN_MOUNT_NAMESPACE=1 exec "$0" "$@"' "$@"
fi
echo "private_registry.sh: no mount namespace here; this run uses the user's registry" >&2
exec "$@"
