#pragma once
// The extended attributes of a file, copied to another open file as coreutils mv copies them
// across file systems.

namespace pellmora {

enum class AttributeSet {
    Plain, // user.*, trusted.*, security.*
    Acls,  // the POSIX ACLs (system.posix_acl_access, system.posix_acl_default)
};

// Copies the source's attributes of that set to the copy; 0 or errno. An attribute the copy's
// file system cannot hold (ENOTSUP) is skipped, but for an ACL that grants or denies more than
// the mode bits; so is a trusted.* or security.* attribute we may not set (EPERM, EACCES: not
// root). Any other failure ends the copy with its errno.
int CopyExtendedAttributes(int source, int copy, AttributeSet set);

// Whether both files carry the same extended attributes with the same values, whatever their
// namespace (tags, ACLs, security labels): false when either list cannot be read.
bool SameExtendedAttributes(int a, int b);

} // namespace pellmora
