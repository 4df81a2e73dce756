// One pass over the thread's waiting messages, as the rebuild makes twice
// so the host stays responsive while a long log is read.
#pragma once

// Dispatches every message waiting for the calling thread at this moment and
// returns when the queue is empty. A quit request is put back for the
// host's own loop.
void PassWaitingMessages();
