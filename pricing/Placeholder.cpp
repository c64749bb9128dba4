namespace pricing {}
