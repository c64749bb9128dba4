#pragma once

namespace data {
class Connection;
}
