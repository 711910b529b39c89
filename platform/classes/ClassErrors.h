// The exceptions of the component model, streams, lists and filers.
#pragma once

#include "platform/runtime/SysUtils.h"

class EStreamError : public Exception { public: using Exception::Exception; };
class EFCreateError : public EStreamError { public: using EStreamError::EStreamError; };
class EFOpenError : public EStreamError { public: using EStreamError::EStreamError; };
class EFilerError : public EStreamError { public: using EStreamError::EStreamError; };
class EReadError : public EFilerError { public: using EFilerError::EFilerError; };
class EWriteError : public EFilerError { public: using EFilerError::EFilerError; };
class EClassNotFound : public EFilerError { public: using EFilerError::EFilerError; };
class EInvalidImage : public EFilerError { public: using EFilerError::EFilerError; };
class EResNotFound : public Exception { public: using Exception::Exception; };
class EListError : public Exception { public: using Exception::Exception; };
class EStringListError : public Exception { public: using Exception::Exception; };
class EComponentError : public Exception { public: using Exception::Exception; };
