#include "tables/BaseDefinition.h"

BaseDefinition::~BaseDefinition() = default;
AlarmDefinition::~AlarmDefinition() = default;
FormatDefinition::~FormatDefinition() = default;
GraphDefinition::~GraphDefinition() = default;
TableDataDefinition::~TableDataDefinition() = default;
